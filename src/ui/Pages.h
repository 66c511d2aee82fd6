#pragma once
// The four pages of the main window, in page order.

#include <memory>
#include <vector>

#include "platform/dialog/Dialog.h"

namespace tiecalc {

std::vector<std::unique_ptr<CDialog>> MakePages();

}  // namespace tiecalc
