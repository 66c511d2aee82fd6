#include "cli/Cli.h"

#include <algorithm>
#include <future>
#include <optional>
#include <ostream>
#include <sstream>

#include "case/CaseFile.h"
#include "cli/Json.h"
#include "core/input/FieldText.h"
#include "core/input/Format.h"
#include "core/sections/SteelSection.h"
#include "pages/FourRodPage.h"
#include "pages/RodCheckPage.h"
#include "pages/NamedInput.h"
#include "pages/OutputCheck.h"
#include "pages/ThreeRod.h"
#include "platform/path/Utf8Path.h"
#include "TiecalcVersion.h"
#include "wiring/PageSet.h"
#if TIECALC_HAVE_BOOK
#include "book/BookDocument.h"
#endif
#if TIECALC_HAVE_CHART
#include "chart/ChartData.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#endif

namespace tiecalc {

namespace {

// What the command line says of each page, in tab order (CPageSet).
struct PageKind {
  const char* name;
  int exportButton;  // 0: none
  int reportButton;
  const char* readOnlyHint;  // how the read-only inputs of the page are unlocked
  const char* alsoShown;     // inputs the page writes itself: outputs too, listed
  const char* shownAfter;    // after this output
};

const PageKind kPages[CPageSet::kCount] = {
    {CPageSet::kNames[0], CThreeRod::kExportButton, CThreeRod::kReportButton, "", "", ""},
    {CPageSet::kNames[1], CFourRodPage::kExportButton, CFourRodPage::kReportButton,
     "the lengths L1..L4 take typing only after manualL=1", "L1 L2 L3 L4", "delta"},
    {CPageSet::kNames[2], CFourRodPage::kExportButton, CFourRodPage::kReportButton,
     "the lengths L1..L4 take typing only after manualL=1", "L1 L2 L3 L4", "delta"},
    {CPageSet::kNames[3], 0, CRodCheckPage::kReportButton,
     "Az I1 Iz L1 a take typing only after a lattice form= (1..4), delta only after form=1 or 3, "
     "Ld only while Imax differs from Imin",
     "Ld", "sigmaz"},
};

const PageKind* FindPage(const std::string& name) {
  const int i = CPageSet::IndexOf(name);
  return i < 0 ? nullptr : &kPages[i];
}

std::string PageList() {
  std::string s;
  for (const PageKind& k : kPages) s += (s.empty() ? "" : ", ") + std::string(k.name);
  return s;
}

std::string NameList(const CPage& page, bool inputs) {
  std::string s;
  for (const NamedControl& n : page.Names())
    if (n.input == inputs) s += (s.empty() ? "" : " ") + n.name;
  return s;
}

// The outputs of a page: what it shows and takes no typing, and the inputs it
// also writes (the automatic lengths, the large-section length).
std::string OutputList(const CPage& page, const PageKind& k) {
  std::string s;
  for (const NamedControl& n : page.Names()) {
    if (n.input) continue;
    s += (s.empty() ? "" : " ") + n.name;
    if (n.name == k.shownAfter) s += std::string(" ") + k.alsoShown;
  }
  return s;
}

void PrintHelp(std::ostream& out) {
  out << "usage: tiecalc-cli [--open CASE] PAGE [NAME=TEXT ...] [--save CASE] [--export PATH] [--report PATH]\n"
         "                   [--plot PATH] [--accept-unreadable]\n"
         "       tiecalc-cli [--open CASE] book LAYOUT [project.NAME=TEXT ...] [--report PATH]\n"
         "                   [--accept-unreadable]\n"
         "       tiecalc-cli eval TEXT\n"
         "       tiecalc-cli section DESIGNATION | sections [FAMILY]\n"
         "       tiecalc-cli --help | PAGE --help\n"
         "       tiecalc-cli --version\n"
         "\n"
         "Starts PAGE exactly as the window does, then types each NAME=TEXT into that input,\n"
         "in the order given, as a user would (its change handler runs). A read-only input\n"
         "takes no typing: the command stops with an error. --export / --report answer the\n"
         "save dialog with PATH and press the page's export / report button. --plot writes\n"
         "the force chart of a force page (each rod's force against θ) to PATH, .png or .svg;\n"
         "An invalid page writes nothing: the refusal and its reasons go to messages.\n"
         "An input whose text does not read as typed counts as its reader's value (0 when\n"
         "it is not read at all); --export, --report, --plot and book --report then write\n"
         "nothing and name those inputs in messages, unless --accept-unreadable is given\n"
         "(anywhere after PAGE or LAYOUT). --save always writes the texts as typed.\n"
         "--open CASE (before PAGE) first brings the case file CASE (.tiecalc) into all four\n"
         "pages; --save CASE writes all four pages to CASE after the typing, PAGE as the page\n"
         "shown.\n"
         "Prints one JSON object, keys sorted:\n"
         "  {\"fields\": {NAME: TEXT, ...}, \"messages\": [TEXT, ...], \"notes\": {NAME: TEXT, ...},\n"
         "   \"page\": PAGE, \"status\": TEXT}\n"
         "status is the status line (rod-check: the result box); messages are the message\n"
         "boxes and questions shown, in order; notes are the marks of the inputs: why a\n"
         "text does not read as typed and, while the inputs are invalid, the reasons (one\n"
         "line each).\n"
         "\n"
         "book LAYOUT (three-rod, four-rod-1, four-rod-2) checks every rod of that force page\n"
         "under the case's load cases and levels (its \"book\" object; without cases, the\n"
         "page's R and M), each rod on the envelope of its extremes with its own section or\n"
         "the rod-check page's, as the 计算书 button does (use --open CASE to bring the\n"
         "inputs); project.NAME=TEXT sets an item of the cover (name, site, crane, level,\n"
         "elevation, author, checker, approver, date) for this run; --report PATH writes the\n"
         "calculation book there. Prints\n"
         "  {\"cases\": [...], \"layout\": LAYOUT, \"levels\": [LEVEL, ...], \"messages\": [...],\n"
         "   \"page\": \"book\", \"rods\": [ROD, ...], \"status\": the verdict or the refusal}\n"
         "LEVEL is {\"name\", \"height\", \"status\", \"cases\": [{\"name\", \"R\", \"M\", \"rods\":\n"
         "[{\"Fmax\", \"Fmin\"}]}], \"rods\": [ROD, ...], \"reactions\": [{\"rod\", \"angle\",\n"
         "\"tension\", \"compression\": {\"F\", \"normal\", \"parallel\", \"case\"}}]}; rods and cases\n"
         "are the first level's. ROD is {\"F\", \"Fmax\", \"Fmin\" (the envelope), \"FmaxCase\",\n"
         "\"FminCase\", \"G\", \"L\", \"Ld\" (non-uniform rods only): TEXT, \"fields\": the rod-check\n"
         "outputs as the page shows them, \"rod\": 1..n, \"section\": its own section's index or\n"
         "null, \"passes\", \"failing\": the failing checks with their numbers, \"tension\":\n"
         "{\"message\", \"sigma\"} or null}; levels are empty on a refusal.\n"
         "\n"
         "eval TEXT prints {\"value\": V}, the value of a field holding TEXT (\"%.15g\").\n"
         "\n"
         "section DESIGNATION prints one row of the steel section library (∟63×6, L63x6, [20b,\n"
         "I25a, Φ159×6, □200×10 ...): {\"designation\", \"standard\", \"A\" mm², \"Ix\", \"Iy\",\n"
         "\"Imin\" mm⁴, \"ix\", \"iy\", \"imin\", \"z0\" mm (angles and channels), \"mass\" kg/m};\n"
         "an unknown designation exits 1. sections [FAMILY] lists the designations by family:\n"
         "equal-angle, unequal-angle, channel, i-beam, round-tube, hollow-section.\n"
         "\n"
         "Exit status: 0 done; 1 a case file refused or not saved, or a file error (one line\n"
         "on stderr, nothing on stdout), or an export, report, chart or book asked for and\n"
         "not written: refused, failed or cancelled (why is in messages); 2 unknown page or\n"
         "name, malformed argument, read-only input.\n"
         "\n";
  const CPageSet pages;
  for (int i = 0; i < pages.Count(); ++i) {
    const CPage& page = pages.Page(i);
    out << kPages[i].name << "\n  inputs:  " << NameList(page, true) << "\n  outputs: " << OutputList(page, kPages[i])
        << "\n";
  }
  out << "\nrod-check: form=0..4 (实腹式, 两肢缀板式, 两肢缀条式, 四肢缀板式, 四肢缀条式),\n"
         "main=Q235|Q345, lacing=Q235|Q345. four-rod pages: manualL=0|1 (the check box).\n"
         "rod-check section from the library, built for the form chosen and typed into A, h,\n"
         "Imax, Imin, Ld, G and the lattice inputs where the last of these settings stands:\n"
         "  chord=DESIGNATION  the profile (solid web) or each limb's chord\n"
         "  width=MM|MMxMM     outer width (four-limb: width x depth); endwidth= the same at the ends\n"
         "  web=DESIGNATION    lacing bars; web=-BxT a batten plate B (along the rod) x T mm\n"
         "  webspacing=MM      L1 of battens or lacing; webangle=DEG lacing angle to the rod's axis\n"
         "  pair=single|box|back  solid web: one profile or two; flanges=in|out two-limb channels\n"
         "  midlength=MM       variable section: length of the large middle part (else the page's Ld)\n"
         "The rod length is the page's L. The JSON then has \"section\": {\"designation\",\n"
         "\"state\" (applied, edited, other-form), \"line\", \"derivations\", \"notes\"}.\n";
}

void PrintPageHelp(const PageKind& k, std::ostream& out) {
  const CPageSet pages;
  const CPage* page = pages.Find(k.name);
  out << "usage: tiecalc-cli [--open CASE] " << k.name << " [NAME=TEXT ...] [--save CASE]";
  if (k.exportButton) out << " [--export PATH] [--plot PATH]";
  out << " [--report PATH] [--accept-unreadable]\n";
  out << "inputs:  " << NameList(*page, true) << "\n";
  out << "outputs: " << OutputList(*page, k) << "\n";
  for (const NamedControl& n : page->Names()) {
    const ControlKind kind = page->KindOf(n.id);
    if (n.input && (kind == ControlKind::CheckBox || kind == ControlKind::ComboBox))
      out << "  " << n.name << ": " << NamedAllowedValues(*page, n) << "\n";
  }
  if (*k.readOnlyHint) out << "note: " << k.readOnlyHint << "\n";
}

// A chart file's format, from its extension: "png", "svg" or "".
std::string PlotFormat(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return "";
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == "png" || ext == "svg" ? ext : "";
}

#if TIECALC_HAVE_CHART
// The force chart of page written to path (.png drawn at 2x, or .svg). An
// invalid page has no chart to show: nothing is written, and the refusal
// says why.
OutputOutcome PlotPage(const CPage& page, const std::string& path, IDesktop& desktop) {
  const std::optional<ForceChartData> data = ValidChartDataOf(page);
  if (const std::optional<OutputOutcome> stop =
          CheckBeforeOutput({&page}, data.has_value(), kInvalidInputsRefused, desktop))
    return *stop;
  const ChartScene scene = LayOutForceChart(*data, 800, 500);
  try {
    file::WriteFileAtomically(path, PlotFormat(path) == "svg" ? ChartSvg(scene) : ChartPng(scene, 2.0));
  } catch (const file::CFileError& e) {
    desktop.ShowMessage(std::string("受力曲线文件输出失败!\n") + file::FileMessage("无法写入受力曲线文件", e),
                        MessageIcon::Error);
    return OutputOutcome::Failed;
  } catch (const std::exception& e) {
    desktop.ShowMessage(std::string("受力曲线文件输出失败!\n") + e.what(), MessageIcon::Error);
    return OutputOutcome::Failed;
  }
  return OutputOutcome::Written;
}
#endif

constexpr const char* kAcceptUnreadable = "--accept-unreadable";

// The messages shown, in order.
Json MessagesOf(const CScriptedDesktop& desktop) {
  Json messages = Json::array();
  for (const CScriptedDesktop::Message& m : desktop.Messages()) messages.push_back(JsonText(m.text));
  return messages;
}

// The exit status after the outputs asked for: each of them written, and no
// error shown on the way.
int OutputsStatus(const CScriptedDesktop& desktop, size_t asked) {
  size_t written = 0;
  for (OutputOutcome outcome : desktop.Outcomes()) written += outcome == OutputOutcome::Written;
  for (const CScriptedDesktop::Message& m : desktop.Messages())
    if (m.icon == MessageIcon::Error) return kCliFailed;
  return written == asked && desktop.Outcomes().size() == asked ? kCliOk : kCliFailed;
}

// The marks of the page's inputs by name, several of one input a line each.
Json NotesOf(const CPage& page) {
  Json notes = Json::object();
  for (const ControlNote& note : page.Notes()) {
    for (const NamedControl& n : page.Names()) {
      if (n.id != note.id) continue;
      const std::string before = notes.contains(n.name) ? notes[n.name].get<std::string>() + "\n" : "";
      notes[n.name] = JsonText(before + note.text);
      break;
    }
  }
  return notes;
}

int Usage(std::ostream& err, const std::string& message) {
  err << "tiecalc-cli: " << message << "\n";
  return kCliUsage;
}

int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return Usage(err, "eval takes exactly one TEXT (tiecalc-cli eval TEXT)");
  out << WriteJsonLine({{"value", JsonNumber(EvaluateFieldText(args[1]))}}) << "\n";
  return kCliOk;
}

// The families as `sections FAMILY` names them, in the library's order.
struct FamilyName {
  const char* name;
  SectionFamily family;
};
const FamilyName kFamilies[] = {
    {"equal-angle", SectionFamily::EqualAngle}, {"unequal-angle", SectionFamily::UnequalAngle},
    {"channel", SectionFamily::Channel},         {"i-beam", SectionFamily::IBeam},
    {"round-tube", SectionFamily::RoundTube},    {"hollow-section", SectionFamily::HollowSection},
};

// One row of the library in mm, mm², mm⁴ and kg/m; what the family lacks
// is left out.
Json SectionRow(const SteelSection& s) {
  Json row = {{"designation", s.designation},
              {"standard", SectionStandard(s)},
              {"A", JsonNumber(s.A * 100)},
              {"Ix", JsonNumber(s.Ix * 1e4)},
              {"Iy", JsonNumber(s.Iy * 1e4)},
              {"Imin", JsonNumber(s.LeastI() * 1e4)},
              {"ix", JsonNumber(s.ix * 10)},
              {"iy", JsonNumber(s.iy * 10)},
              {"imin", JsonNumber(s.LeastRadius() * 10)},
              {"mass", JsonNumber(s.m)}};
  if (s.family == SectionFamily::EqualAngle || s.family == SectionFamily::Channel) row["z0"] = JsonNumber(s.z0 * 10);
  return row;
}

int RunSection(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return Usage(err, "section takes exactly one DESIGNATION (tiecalc-cli section ∟63×6)");
  const SteelSection* s = FindSection(args[1]);
  if (!s) {
    err << "tiecalc-cli: 型钢表中没有“" << args[1] << "”（用 tiecalc-cli sections 列出全部型号）\n";
    return kCliFailed;
  }
  out << WriteJsonLine(SectionRow(*s)) << "\n";
  return kCliOk;
}

int RunSections(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string names;
  for (const FamilyName& f : kFamilies) names += (names.empty() ? "" : ", ") + std::string(f.name);
  if (args.size() > 2) return Usage(err, "sections takes at most one FAMILY: " + names);
  Json families = Json::object();
  for (const FamilyName& f : kFamilies) {
    if (args.size() == 2 && args[1] != f.name) continue;
    Json list = Json::array();
    for (const SteelSection& s : SectionsOf(f.family)) list.push_back(s.designation);
    families[f.name] = std::move(list);
  }
  if (families.empty()) return Usage(err, "unknown family '" + args[1] + "'; families: " + names);
  out << WriteJsonLine({{"sections", std::move(families)}}) << "\n";
  return kCliOk;
}

// The rod-check page's section settings: chord=, width=, endwidth=, web=,
// webspacing=, webangle=, pair=, flanges=, midlength=. They build one choice,
// applied where the last of them stands among the settings.
constexpr const char* kSectionSettings[] = {"chord",      "width",    "endwidth", "web",      "webspacing",
                                            "webangle",   "pair",     "flanges",  "midlength"};

bool IsSectionSetting(const std::string& name) {
  for (const char* n : kSectionSettings)
    if (name == n) return true;
  return false;
}

// "400" or "400x300" (×, X or * too): one or two positive numbers.
std::optional<std::pair<double, double>> ParseSides(const std::string& text) {
  std::string t = text;
  for (const char* mark : {"×", "X", "*"})
    for (size_t at; (at = t.find(mark)) != std::string::npos;) t.replace(at, std::string(mark).size(), "x");
  const auto number = [](const std::string& part) -> std::optional<double> {
    if (part.empty() || part.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
    const double v = ParseDouble(part);
    return v > 0 ? std::optional<double>(v) : std::nullopt;
  };
  const size_t x = t.find('x');
  const auto first = number(t.substr(0, x));
  if (!first) return std::nullopt;
  if (x == std::string::npos) return std::pair{*first, 0.0};
  const auto second = number(t.substr(x + 1));
  if (!second) return std::nullopt;
  return std::pair{*first, *second};
}

// One section setting into the choice; the reason when its text is refused.
std::string TakeSectionSetting(const std::string& name, const std::string& text, RodSectionChoice& c) {
  if (name == "chord") {
    c.profile = text;
    return "";
  }
  if (name == "pair") {
    if (text == "single") c.pair = PairLayout::Single;
    else if (text == "box") c.pair = PairLayout::Box;
    else if (text == "back") c.pair = PairLayout::BackToBack;
    else return "pair is one of single, box, back";
    return "";
  }
  if (name == "flanges") {
    if (text == "in") c.flanges = ChannelFlanges::Inward;
    else if (text == "out") c.flanges = ChannelFlanges::Outward;
    else return "flanges is one of in, out";
    return "";
  }
  if (name == "web" && text.rfind("-", 0) != 0) {
    c.lacing = text;
    return "";
  }
  const auto sides = ParseSides(name == "web" ? text.substr(1) : text);
  if (!sides) return name + " takes " + (name == "web" ? "-BxT (a batten plate, mm) or a DESIGNATION" : "MM or MMxMM");
  const bool one = sides->second == 0;
  if (name == "web") {
    if (one) return "web takes -BxT: the batten's width along the rod and its thickness, mm";
    c.battenWidth = sides->first, c.battenThickness = sides->second;
  } else if (name == "width" || name == "endwidth") {
    (name == "width" ? c.width : c.endWidth) = sides->first;
    (name == "width" ? c.depth : c.endDepth) = one ? 0 : sides->second;
  } else if (!one) {
    return name + " takes one number";
  } else if (name == "webspacing") {
    c.spacing = sides->first;
  } else if (name == "webangle") {
    c.lacingAngle = sides->first;
  } else {
    c.Ld = sides->first;
  }
  return "";
}

// The page's section as the JSON shows it; null without one.
Json SectionJson(const CRodCheckPage& page) {
  if (!page.Section()) return nullptr;
  const CRodCheckPage::ChosenSection& s = *page.Section();
  Json derivations = Json::array();
  for (const InputDerivation& d : s.built.derivations)
    derivations.push_back({{"name", d.name}, {"value", JsonNumber(d.value)}, {"text", JsonText(d.text)}});
  Json notes = Json::array();
  for (const std::string& n : s.built.notes) notes.push_back(JsonText(n));
  const char* state = page.StateOfSection() == CRodCheckPage::SectionState::Applied        ? "applied"
                      : page.StateOfSection() == CRodCheckPage::SectionState::EditedByHand ? "edited"
                                                                                            : "other-form";
  return {{"designation", JsonText(DescribeSection(s.form, s.choice))},
          {"state", state},
          {"line", JsonText(page.SectionLine())},
          {"derivations", std::move(derivations)},
          {"notes", std::move(notes)}};
}

struct Setting {
  std::string name, text;
};

// Reads the case into the pages just made and starts them; 0, or the exit
// status of a refused case (after its message on err).
int StartPages(CPageSet& pages, IDesktop& desktop, const std::string& openPath, std::ostream& err) {
  const CasePages named = CasePagesOf(pages);
  CaseState opened;
  if (!openPath.empty()) {
    try {
      opened = ReadCaseFile(PathFromUtf8(openPath), named);
    } catch (const CCaseError& e) {
      err << "tiecalc-cli: " << e.what() << "\n";
      return kCliFailed;
    }
  }
  pages.Create(&desktop);
  if (openPath.empty()) return 0;
  pages.Book() = opened.book;
  try {
    ApplyCase(opened, named);
  } catch (const CCaseError& e) {
    err << "tiecalc-cli: " << CaseOpenRefusal(PathFromUtf8(openPath), e.what()) << "\n";
    return kCliFailed;
  }
  return 0;
}

// A command that will draw a force chart has the drawing and its fonts made
// ready on another thread while it reads the case and computes; the future
// waits for it when the command ends. A drawing that cannot be loaded is
// left to the chart itself to report.
std::future<void> PrepareChart(bool needed) {
#if TIECALC_HAVE_CHART
  if (needed)
    return std::async(std::launch::async, [] {
      try {
        PrepareChartDrawing();
      } catch (const std::exception&) {
      }
    });
#endif
  (void)needed;
  return {};
}

#if TIECALC_HAVE_BOOK
// "project.NAME=TEXT": NAME; otherwise empty.
std::string ProjectKeyOf(const std::string& arg) {
  const size_t eq = arg.find('=');
  if (arg.rfind("project.", 0) != 0 || eq == std::string::npos) return "";
  return arg.substr(8, eq - 8);
}

std::string ProjectKeyList() {
  std::string s;
  for (const ProjectField& f : kProjectFields) s += (s.empty() ? "" : ", ") + std::string(f.key);
  return s;
}

Json WallForceJson(const WallForce& f) {
  return {{"F", FormatFixedNoMinusZero(f.F, 2)},
          {"normal", FormatFixedNoMinusZero(f.normal, 2)},
          {"parallel", FormatFixedNoMinusZero(f.parallel, 2)},
          {"case", JsonText(f.caseName)}};
}

// One level of the book: its cases' extremes, every rod's envelope and
// check, the wall reactions.
Json BookLevelJson(const BookLevel& level) {
  Json cases = Json::array();
  for (const BookCase& c : level.cases) {
    if (c.name.empty()) continue;  // the page's own R and M: no case set
    Json rods = Json::array();
    for (const CaseRodForces& f : c.rods) rods.push_back({{"Fmax", f.FmaxText}, {"Fmin", f.FminText}});
    cases.push_back({{"name", JsonText(c.name)}, {"R", JsonText(c.R)}, {"M", JsonText(c.M)}, {"rods", std::move(rods)}});
  }
  Json rods = Json::array();
  for (const BookRod& rod : level.rods) {
    Json fields = Json::object();
    for (const auto& [name, text] : rod.fields) fields[name] = JsonText(text);
    Json failing = Json::array();
    for (const FailingCheck& f : rod.failing) failing.push_back(JsonText(f.Text()));
    Json r = {{"rod", rod.rod},
              {"L", JsonText(rod.texts.L)},
              {"Fmax", JsonText(rod.texts.Fmax)},
              {"Fmin", JsonText(rod.texts.Fmin)},
              {"F", JsonText(rod.texts.F)},
              {"G", JsonText(rod.texts.G)},
              {"fields", std::move(fields)},
              {"tension", nullptr},
              {"FmaxCase", JsonText(rod.tensionCase)},
              {"FminCase", JsonText(rod.compressionCase)},
              {"section", rod.section < 0 ? Json(nullptr) : Json(rod.section)},
              {"passes", rod.passes},
              {"failing", std::move(failing)}};
    if (rod.texts.Ld) r["Ld"] = JsonText(*rod.texts.Ld);
    if (rod.tension) r["tension"] = {{"sigma", rod.tension->sigmaText}, {"message", JsonText(rod.tension->message)}};
    rods.push_back(std::move(r));
  }
  Json reactions = Json::array();
  for (const RodWallReaction& w : level.reactions)
    reactions.push_back({{"rod", w.rod},
                         {"angle", FormatFixed(w.angle, 2)},
                         {"tension", WallForceJson(w.tension)},
                         {"compression", WallForceJson(w.compression)}});
  return {{"name", JsonText(level.name)},   {"height", JsonText(level.height)}, {"status", JsonText(level.verdict)},
          {"cases", std::move(cases)},      {"rods", std::move(rods)},          {"reactions", std::move(reactions)}};
}
#endif

int RunBook(const std::vector<std::string>& args, const std::string& openPath, std::ostream& out,
            std::ostream& err) {
#if !TIECALC_HAVE_BOOK
  (void)args, (void)openPath, (void)out;
  return Usage(err, "this tiecalc-cli was built without the calculation book");
#else
  const std::string layouts = "three-rod, four-rod-1, four-rod-2";
  if (args.size() < 2 || args[1].rfind("-", 0) == 0) return Usage(err, "book needs a LAYOUT: " + layouts);
  const int index = CPageSet::IndexOf(args[1]);
  if (index < 0 || index > 2) return Usage(err, "unknown layout '" + args[1] + "'; layouts: " + layouts);
  std::string reportPath;
  bool acceptUnreadable = false;
  std::vector<std::pair<const ProjectField*, std::string>> project;
  for (size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--report" && i + 1 < args.size() && reportPath.empty()) {
      reportPath = args[++i];
      continue;
    }
    if (args[i] == kAcceptUnreadable) {
      acceptUnreadable = true;
      continue;
    }
    if (const std::string key = ProjectKeyOf(args[i]); !key.empty()) {
      const ProjectField* field = FindProjectField(key);
      if (!field) return Usage(err, "unknown project item '" + key + "'; items: " + ProjectKeyList());
      project.emplace_back(field, args[i].substr(args[i].find('=') + 1));
      continue;
    }
    return Usage(err, "book takes LAYOUT, project.NAME=TEXT, --report PATH and --accept-unreadable only, not '" +
                          args[i] + "'");
  }

  const std::future<void> chartReady = PrepareChart(!reportPath.empty());
  CScriptedDesktop desktop;
  desktop.AnswerQuestions(acceptUnreadable);
  CPageSet pages;
  if (const int refused = StartPages(pages, desktop, openPath, err)) return refused;
  const CRodCheckPage& section = pages.RodCheck();
  for (const auto& [field, text] : project) pages.Book().project.*field->text = text;
  const CalculationBook book = ComputeBook(pages.ForcePage(index), section, pages.Book());
  if (!reportPath.empty()) {
    desktop.QueueSavePath(reportPath);
    // A book that cannot be finished says why in messages, as a page's
    // report does.
    try {
      RecordOutput(desktop, [&] {
        return WriteCalculationBook(pages.ForcePage(index), section, pages.Book(), book, desktop);
      });
    } catch (const std::exception& e) {
      desktop.ShowMessage(e.what(), MessageIcon::Error);
    }
  } else if (book.Refused()) {
    desktop.ShowMessage(book.refusal, MessageIcon::None);
  }

  Json levels = Json::array();
  for (const BookLevel& level : book.levels) levels.push_back(BookLevelJson(level));
  Json result = {{"page", "book"},
                 {"layout", args[1]},
                 {"status", JsonText(book.Status())},
                 {"messages", MessagesOf(desktop)},
                 {"rods", levels.empty() ? Json::array() : levels[0]["rods"]},
                 {"cases", levels.empty() ? Json::array() : levels[0]["cases"]},
                 {"levels", std::move(levels)}};
  out << WriteJsonLine(result) << "\n";
  return OutputsStatus(desktop, reportPath.empty() ? 0 : 1);
#endif
}

}  // namespace

bool NeedsOutputs(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "--export" || a == "--report" || a == "--plot" || a == "book") return true;
  return false;
}

int RunCli(const std::vector<std::string>& argsIn, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args = argsIn;
  std::string openPath;
  if (!args.empty() && args[0] == "--open") {
    if (args.size() < 2) return Usage(err, "--open needs a CASE");
    openPath = args[1];
    args.erase(args.begin(), args.begin() + 2);
    if (args.empty() || args[0].rfind("-", 0) == 0 || args[0] == "eval")
      return Usage(err, "--open CASE needs a PAGE after it; pages: " + PageList());
  }
  if (args.empty()) return Usage(err, "no page given; pages: " + PageList() + ", or eval TEXT; see --help");
  if (args[0] == "--help" || args[0] == "-h") {
    PrintHelp(out);
    return kCliOk;
  }
  if (args[0] == "--version") {
    out << "tiecalc-cli " << kVersion << "\n";
    return kCliOk;
  }
  if (args[0] == "eval") return RunEval(args, out, err);
  if (args[0] == "section") return RunSection(args, out, err);
  if (args[0] == "sections") return RunSections(args, out, err);
  if (args[0] == "book") return RunBook(args, openPath, out, err);
  const PageKind* kind = FindPage(args[0]);
  if (!kind) return Usage(err, "unknown page '" + args[0] + "'; pages: " + PageList() + ", or eval TEXT");
  for (size_t i = 1; i < args.size(); ++i)
    if (args[i] == "--help" || args[i] == "-h") {
      PrintPageHelp(*kind, out);
      return kCliOk;
    }

  CScriptedDesktop desktop;
  CPageSet pages;
  CPage* page = pages.Find(kind->name);

  // Check the whole command line before the page starts.
  std::vector<Setting> settings;
  std::vector<std::pair<int, std::string>> clicks;  // button (0: the chart), save path
  std::string savePath;
  bool acceptUnreadable = false;
  auto* sectionPage = dynamic_cast<CRodCheckPage*>(page);
  RodSectionChoice sectionChoice;
  std::optional<size_t> lastSectionSetting;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == kAcceptUnreadable) {
      acceptUnreadable = true;
      continue;
    }
    if (a == "--plot") {
      if (i + 1 >= args.size()) return Usage(err, "--plot needs a PATH (.png or .svg)");
      if (!kind->exportButton) return Usage(err, std::string(kind->name) + " has no force chart");
#if !TIECALC_HAVE_CHART
      return Usage(err, "this tiecalc-cli was built without the force chart (--plot)");
#endif
      if (PlotFormat(args[i + 1]).empty()) return Usage(err, "--plot writes .png or .svg, not '" + args[i + 1] + "'");
      clicks.emplace_back(0, args[++i]);
      continue;
    }
    if (a == "--export" || a == "--report" || a == "--save") {
      if (i + 1 >= args.size()) return Usage(err, a + " needs a " + (a == "--save" ? "CASE" : "PATH"));
      if (a == "--save") {
        savePath = args[++i];
        continue;
      }
      const int button = a == "--export" ? kind->exportButton : kind->reportButton;
      if (!button) return Usage(err, std::string(kind->name) + " has no export button; options: --report PATH");
      clicks.emplace_back(button, args[++i]);
      continue;
    }
    if (a == "--open") return Usage(err, "--open CASE comes before PAGE");
    const size_t eq = a.find('=');
    if (eq == std::string::npos || eq == 0 || a.rfind("--", 0) == 0)
      return Usage(err, "malformed argument '" + a +
                            "'; expected NAME=TEXT, --save CASE, --export PATH, --report PATH, --plot PATH or "
                            "--accept-unreadable");
    if (!clicks.empty() || !savePath.empty())
      return Usage(err, "setting '" + a + "' after --save/--export/--report/--plot; NAME=TEXT settings come first");
    Setting s{a.substr(0, eq), a.substr(eq + 1)};
    if (sectionPage && IsSectionSetting(s.name)) {
      if (const std::string why = TakeSectionSetting(s.name, s.text, sectionChoice); !why.empty())
        return Usage(err, "'" + a + "': " + why);
      lastSectionSetting = settings.size();
      settings.push_back(std::move(s));
      continue;
    }
    const NamedControl* n = FindInput(*page, s.name);
    if (!n) return Usage(err, "unknown input '" + s.name + "' of " + kind->name + "; inputs: " + NameList(*page, true));
    if (!NamedAccepts(*page, *n, s.text))
      return Usage(err, "'" + a + "': " + s.name + " is one of " + NamedAllowedValues(*page, *n));
    settings.push_back(std::move(s));
  }

  const std::future<void> chartReady = PrepareChart(
      kind->exportButton && std::any_of(clicks.begin(), clicks.end(), [&](const auto& click) {
        return click.first == 0 || click.first == kind->reportButton;
      }));
  // Outputs resting on unreadable fields are made only when asked for.
  desktop.AnswerQuestions(acceptUnreadable);
  // The case is read whole before any page starts: a refused file changes
  // nothing. Every page starts as in the window; the case comes into all
  // four, then the one named takes the typing.
  if (const int refused = StartPages(pages, desktop, openPath, err)) return refused;
  const CasePages named = CasePagesOf(pages);
  for (size_t i = 0; i < settings.size(); ++i) {
    const Setting& s = settings[i];
    if (IsSectionSetting(s.name) && sectionPage) {
      if (i != lastSectionSetting) continue;
      if (const std::string why = sectionPage->ApplySection(sectionChoice); !why.empty()) {
        err << "tiecalc-cli: 截面无法建立：" << why << "\n";
        return kCliUsage;
      }
      continue;
    }
    if (!UserSetNamed(*page, *FindInput(*page, s.name), s.text)) {
      std::string message = "input '" + s.name + "' is read-only at this point and takes no typing";
      if (*kind->readOnlyHint) message += std::string(" (") + kind->readOnlyHint + ")";
      return Usage(err, message);
    }
  }
  if (!savePath.empty()) {
    try {
      SaveCaseFile(PathFromUtf8(savePath), CaptureCase(named, kind->name, pages.Book()));
    } catch (const CCaseError& e) {
      err << "tiecalc-cli: " << e.what() << "\n";
      return kCliFailed;
    }
  }
  for (const auto& [button, path] : clicks) {
    if (button == 0) {
#if TIECALC_HAVE_CHART
      RecordOutput(desktop, [&] { return PlotPage(*page, path, desktop); });
#endif
      continue;
    }
    desktop.QueueSavePath(path);
    page->UserClick(button);
  }

  Json fields = Json::object();
  for (const NamedControl& n : page->Names()) fields[n.name] = JsonText(NamedText(*page, n));
  Json result({{"page", kind->name},
                        {"status", JsonText(page->Status())},
                        {"fields", std::move(fields)},
                        {"messages", MessagesOf(desktop)},
                        {"notes", NotesOf(*page)}});
  if (sectionPage && sectionPage->Section()) result["section"] = SectionJson(*sectionPage);
  out << WriteJsonLine(result) << "\n";
  return OutputsStatus(desktop, clicks.size());
}

}  // namespace tiecalc
