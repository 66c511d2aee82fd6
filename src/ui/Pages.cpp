#include "ui/Pages.h"

namespace tiecalc {

std::unique_ptr<CPageSet> MakePages() { return std::make_unique<CPageSet>(); }

}  // namespace tiecalc
