#pragma once
// What every output of a page (export, report, chart file, book) checks
// before its save dialog: invalid inputs are refused with the reasons the
// page marks its fields with, and fields that do not read as typed are
// named in a question (an output is never made from them silently).

#include <optional>
#include <string>
#include <vector>

#include "pages/Page.h"
#include "platform/dialog/Desktop.h"

namespace tiecalc {

// The headline of a force page's output refused for invalid inputs.
inline constexpr const char* kInvalidInputsRefused = "输入数据错误或不完整!";

// The refusal of an output while the page's inputs are invalid: headline,
// then each reason of its broken rules, once, one a line
// ("输入数据错误或不完整!\n杆2截面积必须大于0").
std::string InvalidInputsRefusal(const CPage& page, const std::string& headline);

// One line for each editable field whose text does not read as typed, with
// what it was read as: "M 无法识别，按 0 计算", "A 数字中有多个小数点，读作 0.17".
std::vector<std::string> UnreadableFieldLines(const CPage& page);

// The checks before an output resting on pages (the first one the output's
// own, the rest also read): while valid is false, the refusal (headline and
// the first page's reasons) in a message box, Refused; else, when any page
// has unreadable fields (or moreUnreadable names some the output read
// elsewhere), the question naming them, Cancelled unless the user goes on.
// Nothing when the output may go ahead.
std::optional<OutputOutcome> CheckBeforeOutput(const std::vector<const CPage*>& pages, bool valid,
                                               const std::string& headline, IDesktop& desktop,
                                               const std::vector<std::string>& moreUnreadable = {});

}  // namespace tiecalc
