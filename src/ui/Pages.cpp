#include "ui/Pages.h"

#include "wiring/PageWiring.h"

namespace tiecalc {

namespace {
template <class Page>
std::unique_ptr<CDialog> Make() {
  auto page = std::make_unique<Page>();
  // The export and report handlers behind the page's buttons, the same
  // wiring the command-line tool uses.
  WirePage(*page);
  return page;
}
}  // namespace

std::vector<std::unique_ptr<CDialog>> MakePages() {
  std::vector<std::unique_ptr<CDialog>> pages;
  pages.push_back(Make<CThreeRod>());
  pages.push_back(Make<CFourRod>());
  pages.push_back(Make<CFourRod1>());
  pages.push_back(Make<CJiaoHe>());
  return pages;
}

}  // namespace tiecalc
