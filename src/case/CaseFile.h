#pragma once
// The case file (.tiecalc): the input texts of the four pages and the page
// shown, as one JSON object, so that an engineer's work can be kept,
// reopened, archived beside a report and passed on:
//
//   {"format": "tiecalc-case", "version": 1, "page": "three-rod",
//    "pages": {"three-rod": {"A": "2*450", "B": "900"}, "rod-check": {"form": "1"}}}
//
// Values are the texts the fields show (an expression stays an expression;
// a check box "0"/"1", the form list its index, the steel lists their item).
// A JSON number is taken as its shortest text. A page or a name left out
// keeps its start text; other top-level keys are ignored.
//
// Reading refuses whatever is not such a file, with a message that names the
// file and the reason; writing replaces the file atomically. A case comes back
// into freshly started pages through the handlers a user's typing runs.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/sections/RodSection.h"
#include "pages/Page.h"

namespace tiecalc {

inline constexpr const char* kCaseFormat = "tiecalc-case";
inline constexpr int kCaseVersion = 1;
inline constexpr const char* kCaseExtension = ".tiecalc";
inline constexpr std::uintmax_t kCaseMaxBytes = 1024 * 1024;
inline constexpr size_t kCaseMaxTextLength = 255;  // characters

struct CaseInput {
  std::string name, text;
};

// The section picked on the rod-check page: what was chosen and for which
// form, and whether its inputs were edited by hand since. Written as the
// page's "section" object only when a section was chosen:
//   "section": {"form": 4, "profile": "∟63×6", "pair": "single",
//               "flanges": "inward", "width": 400, "depth": 400, ...,
//               "lacing": "∟40×4", "lacingAngle": 0, "editedByHand": false}
struct CaseSection {
  RodSectionChoice choice;
  RodForm form = RodForm::SolidWeb;
  bool editedByHand = false;
};

struct CasePage {
  std::string name;
  std::vector<CaseInput> inputs;
  std::optional<CaseSection> section;
};

struct CaseState {
  std::string page;  // the page shown; empty: the first
  std::vector<CasePage> pages;
  // An autosave's own key: the case file the state was last opened from
  // or saved to ("file"; empty: none, and not written).
  std::string file;

  const CasePage* Find(std::string_view name) const;
};

// A refused file or a failed save; what() is the whole message, in Chinese.
class CCaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The pages a case is read against, taken from and brought into: each with
// its short name, in tab order.
using CasePages = std::vector<std::pair<std::string, CPage*>>;

template <class TPageSet>
CasePages CasePagesOf(const TPageSet& set) {
  CasePages pages;
  for (int i = 0; i < set.Count(); ++i) pages.emplace_back(set.Name(i), &set.Page(i));
  return pages;
}

// The case in text: throws CCaseError with the reason alone (no file name)
// when the text is not a case these pages can take.
CaseState ParseCase(std::string_view text, const CasePages& pages);

// The case in a file: throws CCaseError naming the file and the reason.
CaseState ReadCaseFile(const std::filesystem::path& path, const CasePages& pages);

// The case as the file holds it: UTF-8 JSON, two-space indents, inputs in
// page order.
std::string WriteCase(const CaseState& state);

// Writes the case atomically: a temporary file beside the target, then a
// rename. Throws CCaseError naming the file and the reason; the old file is
// then as it was.
void SaveCaseFile(const std::filesystem::path& path, const CaseState& state);

// Every input of every page as it shows now, with the page shown.
CaseState CaptureCase(const CasePages& pages, const std::string& shownPage);

// Brings a case into pages freshly created (their start sequences run):
// page by page, first the check boxes and lists, then the fields they
// unlock, each as a user would set it, so that every handler runs (a field
// that shows its saved text already is left as it is), then the 轴力取自
// list, which follows its rod from the texts saved. A field the page has
// locked (the automatic lengths, the length of the large section of a
// uniform rod) comes back as saved when the page wrote that text there
// itself (an invalid page's lengths, a uniform rod's Ld); any other text
// for a locked field throws CCaseError with the reason alone, as the
// command line refuses typing into it. The pages are then to be dropped.
void ApplyCase(const CaseState& state, const CasePages& pages);

// The message of a case refused on opening, naming the file and the reason.
std::string CaseOpenRefusal(const std::filesystem::path& path, const std::string& reason);

// The file name of a path as UTF-8, for titles and messages.
std::string CaseDisplayName(const std::filesystem::path& path);

}  // namespace tiecalc
