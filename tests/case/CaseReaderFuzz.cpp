// libFuzzer target of the case reader: any bytes are either refused with a
// CCaseError or give a case that writes back to the same case, comes into
// freshly started pages without a failure, and leaves the pages showing a
// case that reads back as well.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "case/CaseFile.h"
#include "pages/FourRodPage.h"
#include "pages/RodCheckPage.h"
#include "pages/ThreeRod.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool Same(const tiecalc::CaseState& a, const tiecalc::CaseState& b) {
  if (a.page != b.page || a.pages.size() != b.pages.size()) return false;
  for (size_t i = 0; i < a.pages.size(); ++i) {
    if (a.pages[i].name != b.pages[i].name || a.pages[i].inputs.size() != b.pages[i].inputs.size()) return false;
    for (size_t k = 0; k < a.pages[i].inputs.size(); ++k)
      if (a.pages[i].inputs[k].name != b.pages[i].inputs[k].name ||
          a.pages[i].inputs[k].text != b.pages[i].inputs[k].text)
        return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tiecalc;
  const std::string text(reinterpret_cast<const char*>(data), size);
  CThreeRod threeRod;
  CFourRodParallelPage fourRodI;
  CFourRodTurnedPage fourRodII;
  CRodCheckPage rodCheck;
  const CasePages pages = {
      {"three-rod", &threeRod}, {"four-rod-1", &fourRodI}, {"four-rod-2", &fourRodII}, {"rod-check", &rodCheck}};
  CaseState state;
  try {
    state = ParseCase(text, pages);
  } catch (const CCaseError&) {
    return 0;
  }
  if (state.page.empty()) state.page = "three-rod";
  Require(Same(state, ParseCase(WriteCase(state), pages)));
  for (const auto& [name, page] : pages) page->Create();
  try {
    ApplyCase(state, pages);
  } catch (const CCaseError&) {
    return 0;  // a locked field given another text
  }
  const CaseState shown = CaptureCase(pages, state.page);
  Require(Same(shown, ParseCase(WriteCase(shown), pages)));
  return 0;
}
