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
// The rod-check page's name among a case's pages (a rod section is a copy of it).
inline constexpr const char* kRodCheckCaseName = "rod-check";

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

// The calculation book's own settings, the case's "book" object: the
// project block of its cover, the load cases, the sections of single rods,
// and the attachment levels.
//
//   "book": {"project": {"name": "某住宅楼", "crane": "QTZ80", ...},
//            "cases": [{"name": "工作状态", "R": "80", "M": "300"}, ...],
//            "sections": [{"rods": [1, 3], "inputs": {"form": "4", "A": "1200", ...}}],
//            "levels": [{"name": "第一道", "height": "30.5",
//                        "pages": {"four-rod-1": {...}}, "cases": [...]}, ...],
//            "level": 0}
//
// Every text is kept as typed; R and M are typed into the force page as a
// user would, so an expression stays an expression.
struct CaseProject {
  std::string name, site, crane, level, elevation, author, checker, approver, date;
};

// The project block's items: the key in the file and on the command line
// (project.KEY=TEXT), and the label on the cover.
struct ProjectField {
  const char* key;
  const char* label;
  std::string CaseProject::*text;
};
inline constexpr ProjectField kProjectFields[] = {
    {"name", "工程名称", &CaseProject::name},        {"site", "工程地点", &CaseProject::site},
    {"crane", "塔机型号", &CaseProject::crane},      {"level", "附着道次", &CaseProject::level},
    {"elevation", "附着点标高", &CaseProject::elevation}, {"author", "编制", &CaseProject::author},
    {"checker", "校核", &CaseProject::checker},      {"approver", "审核", &CaseProject::approver},
    {"date", "日期", &CaseProject::date},
};
// The item of kProjectFields with that key; null when there is none.
inline const ProjectField* FindProjectField(std::string_view key) {
  for (const ProjectField& f : kProjectFields)
    if (key == f.key) return &f;
  return nullptr;
}

// A load case of the attachment: its name (工作状态, 非工作状态, ...) and the
// texts of R and M typed over the force page's own.
struct CaseLoadCase {
  std::string name, R, M;
  bool operator==(const CaseLoadCase&) const = default;
};

// The section of some rods (numbers 1..4): the rod-check page's inputs and
// section, as the page of that name keeps them, for those rods alone.
struct CaseRodSection {
  std::vector<int> rods;
  CasePage page;  // named kRodCheckCaseName
};

// The page of that name among pages, or nullptr.
const CasePage* FindPage(const std::vector<CasePage>& pages, std::string_view name);

// One attachment level: its name and height (texts, as typed), its own
// copy of the force pages' inputs, and its own load cases.
struct CaseLevel {
  std::string name, height;
  std::vector<CasePage> pages;
  std::vector<CaseLoadCase> cases;

  const CasePage* Find(std::string_view page) const { return FindPage(pages, page); }
};

struct CaseBook {
  CaseProject project;
  std::vector<CaseLoadCase> cases;
  std::vector<CaseRodSection> sections;
  std::vector<CaseLevel> levels;
  int level = 0;  // the level the pages show (an index into levels)

  // Nothing set: the book of the pages alone, and no "book" object written.
  bool Empty() const;
  // The section set for a rod (1..4), or nullptr: the rod-check page's.
  const CaseRodSection* SectionOf(int rod) const;
  // The rods take the rod-check page's section again; a section no rod
  // uses any more goes.
  void ClearSections(const std::vector<int>& rods);
  // The rods take page's section, as a group of their own.
  void SetSection(const std::vector<int>& rods, CasePage page);
  // The level the pages show; levels must not be empty.
  CaseLevel& Shown() { return levels.at(static_cast<size_t>(level)); }
  const CaseLevel& Shown() const { return levels.at(static_cast<size_t>(level)); }
};

// What keeps a name from naming a level of book (the level at index except
// aside): the rules the levels of a case file keep.
enum class LevelNameProblem { None, Empty, TooLong, Taken };
LevelNameProblem LevelNameProblemOf(const CaseBook& book, std::string_view name, int except = -1);

struct CaseState {
  std::string page;  // the page shown; empty: the first
  std::vector<CasePage> pages;
  CaseBook book;
  // An autosave's own key: the case file the state was last opened from
  // or saved to ("file"; empty: none, and not written).
  std::string file;

  const CasePage* Find(std::string_view name) const { return FindPage(pages, name); }
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

// Every input of every page as it shows now, with the page shown (and no
// book settings).
CaseState CaptureCase(const CasePages& pages, const std::string& shownPage);
// The same with the book settings, the level shown taking the force pages'
// inputs as they show now (a level keeps every page but the rod-check page).
CaseState CaptureCase(const CasePages& pages, const std::string& shownPage, const CaseBook& book);
// One page's inputs as it shows them now (the section of a rod-check page
// with them), under name.
CasePage CapturePage(const std::string& name, const CPage& page);

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
