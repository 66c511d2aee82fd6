#include "pages/OutputCheck.h"

#include "core/input/FieldText.h"
#include "core/input/Format.h"

namespace tiecalc {

namespace {

const NamedControl* NamedOf(const CPage& page, int id) {
  for (const NamedControl& n : page.Names())
    if (n.id == id) return &n;
  return nullptr;
}

}  // namespace

std::string InvalidInputsRefusal(const CPage& page, const std::string& headline) {
  std::string text = headline;
  if (page.ShowsInvalidInputs())
    for (const std::string& reason : page.InvalidReasons()) text += "\n" + reason;
  return text;
}

std::vector<std::string> UnreadableFieldLines(const CPage& page) {
  std::vector<std::string> lines;
  for (const auto& [id, check] : page.UnreadableInputs()) {
    const NamedControl* n = NamedOf(page, id);
    if (!n) continue;
    // A text that is not read at all counts as the reader's value (0); a
    // misread one says what it reads as itself.
    lines.push_back(n->name + " " +
                    (check.reading == FieldReading::Unreadable ? "无法识别，按 " + FormatBound(check.value) + " 计算"
                                                               : check.reason));
  }
  return lines;
}

std::optional<OutputOutcome> CheckBeforeOutput(const std::vector<const CPage*>& pages, bool valid,
                                               const std::string& headline, IDesktop& desktop,
                                               const std::vector<std::string>& moreUnreadable) {
  if (!valid) {
    desktop.ShowMessage(InvalidInputsRefusal(*pages.front(), headline), MessageIcon::None);
    return OutputOutcome::Refused;
  }
  std::string lines;
  for (const CPage* page : pages)
    for (const std::string& line : UnreadableFieldLines(*page)) lines += line + "\n";
  for (const std::string& line : moreUnreadable) lines += line + "\n";
  if (lines.empty()) return std::nullopt;
  if (desktop.Confirm("以下输入无法按所填内容读出，输出将按所示数值计算：\n" + lines + "继续输出吗？"))
    return std::nullopt;
  return OutputOutcome::Cancelled;
}

}  // namespace tiecalc
