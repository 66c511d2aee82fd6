#include "wiring/PageSet.h"

#if TIECALC_HAVE_WIRING
#include "wiring/PageWiring.h"
#endif

namespace tiecalc {

namespace {
template <class TPage>
std::unique_ptr<CPage> Make() {
  auto page = std::make_unique<TPage>();
#if TIECALC_HAVE_WIRING
  // The export and report behind the page's buttons.
  WirePage(*page);
#endif
  return page;
}
}  // namespace

CPageSet::CPageSet()
    : m_pages{Make<CThreeRod>(), Make<CFourRodParallelPage>(), Make<CFourRodTurnedPage>(), Make<CRodCheckPage>()},
      m_rodLink(ThreeRod(), FourRodParallel(), FourRodTurned(), RodCheck()) {
#if TIECALC_HAVE_WIRING
  WirePages(ThreeRod(), FourRodParallel(), FourRodTurned(), RodCheck(), m_book);
#endif
}

CPageSet::~CPageSet() = default;

int CPageSet::IndexOf(std::string_view name) {
  for (int i = 0; i < kCount; ++i)
    if (name == kNames[static_cast<size_t>(i)]) return i;
  return -1;
}

CPage* CPageSet::Find(std::string_view name) const {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : &Page(i);
}

void CPageSet::Create(IDesktop* desktop) {
  for (const auto& page : m_pages) {
    page->SetDesktop(desktop);
    page->Create();
  }
}

}  // namespace tiecalc
