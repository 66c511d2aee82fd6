#include "case/CaseFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <set>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

#include "pages/NamedInput.h"
#include "pages/RodCheckPage.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileError.h"
#include "platform/file/FileMessages.h"

namespace tiecalc {

namespace {

namespace fs = std::filesystem;
// Objects keep the order of the file: a case reads back as it was written.
using Json = nlohmann::ordered_json;

std::string Utf8(const fs::path& p) {
  const auto s = p.u8string();
  return std::string(s.begin(), s.end());
}

// Quoted as the program's messages quote names: “name”.
std::string Quoted(const std::string& s) { return "“" + s + "”"; }

[[noreturn]] void Refuse(const std::string& reason) { throw CCaseError(reason); }

size_t CharacterCount(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// The C0 controls, DEL, and the bidirectional embeddings, overrides and
// isolates (U+202A..U+202E, U+2066..U+2069), which make a text show other
// than it reads.
bool HasControlCharacter(const std::string& utf8) {
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 || c == 0x7F) return true;
    if (c != 0xE2 || i + 2 >= utf8.size()) continue;
    const auto c1 = static_cast<unsigned char>(utf8[i + 1]);
    const auto c2 = static_cast<unsigned char>(utf8[i + 2]);
    if ((c1 == 0x80 && c2 >= 0xAA && c2 <= 0xAE) || (c1 == 0x81 && c2 >= 0xA6 && c2 <= 0xA9)) return true;
  }
  return false;
}

// A JSON number as the text a user would type for it: the shortest digits
// that give the same value back, without an exponent (the field reader
// takes none): 900 gives "900", 0.5 gives "0.5".
std::string NumberText(const Json& v) {
  if (v.is_number_unsigned()) return std::to_string(v.get<std::uint64_t>());
  if (v.is_number_integer()) return std::to_string(v.get<std::int64_t>());
  const double d = v.get<double>();
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
  if (r.ec != std::errc()) return "0";
  std::string s(buf, r.ptr);
  return s == "-0" ? "0" : s;
}

std::string PageNameList(const CasePages& pages) {
  std::string s;
  for (const auto& [name, page] : pages) s += (s.empty() ? "" : "、") + name;
  return s;
}

constexpr const char* kSectionKey = "section";
const char* const kPairNames[] = {"single", "box", "back-to-back"};
const char* const kFlangeNames[] = {"inward", "outward"};

// The numbers of a section object, by key.
struct SectionNumber {
  const char* key;
  double RodSectionChoice::*field;
};
const SectionNumber kSectionNumbers[] = {
    {"width", &RodSectionChoice::width},
    {"depth", &RodSectionChoice::depth},
    {"endWidth", &RodSectionChoice::endWidth},
    {"endDepth", &RodSectionChoice::endDepth},
    {"L", &RodSectionChoice::L},
    {"Ld", &RodSectionChoice::Ld},
    {"battenWidth", &RodSectionChoice::battenWidth},
    {"battenThickness", &RodSectionChoice::battenThickness},
    {"spacing", &RodSectionChoice::spacing},
    {"lacingAngle", &RodSectionChoice::lacingAngle},
};

template <size_t N>
int IndexOfName(const char* const (&names)[N], const std::string& name) {
  for (size_t i = 0; i < N; ++i)
    if (name == names[i]) return static_cast<int>(i);
  return -1;
}

template <size_t N>
std::string NamesInWords(const char* const (&names)[N]) {
  std::string s;
  for (const char* n : names) s += (s.empty() ? "" : "、") + std::string(n);
  return s;
}

CaseSection ParseSection(const std::string& pageName, const Json& v) {
  const std::string where = "页面 " + pageName + " 的截面 section";
  if (!v.is_object()) Refuse(where + " 不是对象（{...}）");
  CaseSection out;
  const auto text = [&](const char* key, bool required) -> std::string {
    const auto it = v.find(key);
    if (it == v.end()) {
      if (required) Refuse(where + " 缺少 " + key);
      return "";
    }
    if (!it->is_string()) Refuse(where + " 的 " + key + " 不是文本");
    const std::string t = it->get<std::string>();
    if (HasControlCharacter(t) || CharacterCount(t) > kCaseMaxTextLength)
      Refuse(where + " 的 " + key + " 含有控制字符或过长");
    return t;
  };
  const auto form = v.find("form");
  if (form == v.end() || !form->is_number_integer() || form->get<std::int64_t>() < 0 || form->get<std::int64_t>() > 4)
    Refuse(where + " 的 form 应为 0..4 的整数");
  out.form = static_cast<RodForm>(form->get<int>());
  out.choice.profile = text("profile", true);
  out.choice.lacing = text("lacing", false);
  if (const std::string pair = text("pair", false); !pair.empty()) {
    const int i = IndexOfName(kPairNames, pair);
    if (i < 0) Refuse(where + " 的 pair 应为 " + NamesInWords(kPairNames));
    out.choice.pair = static_cast<PairLayout>(i);
  }
  if (const std::string flanges = text("flanges", false); !flanges.empty()) {
    const int i = IndexOfName(kFlangeNames, flanges);
    if (i < 0) Refuse(where + " 的 flanges 应为 " + NamesInWords(kFlangeNames));
    out.choice.flanges = static_cast<ChannelFlanges>(i);
  }
  for (const SectionNumber& n : kSectionNumbers) {
    const auto it = v.find(n.key);
    if (it == v.end()) continue;
    if (!it->is_number() || !(it->get<double>() >= 0)) Refuse(where + " 的 " + n.key + " 应为不小于0的数");
    out.choice.*n.field = it->get<double>();
  }
  if (const auto it = v.find("editedByHand"); it != v.end()) {
    if (!it->is_boolean()) Refuse(where + " 的 editedByHand 应为 true 或 false");
    out.editedByHand = it->get<bool>();
  }
  static const std::set<std::string> known = [] {
    std::set<std::string> keys{"form", "profile", "lacing", "pair", "flanges", "editedByHand"};
    for (const SectionNumber& n : kSectionNumbers) keys.insert(n.key);
    return keys;
  }();
  for (const auto& [key, value] : v.items())
    if (!known.count(key)) Refuse(where + " 没有 " + Quoted(key) + " 一项");
  return out;
}

Json SectionJson(const CaseSection& s) {
  Json v = Json::object();
  v["form"] = static_cast<int>(s.form);
  v["profile"] = s.choice.profile;
  v["pair"] = kPairNames[static_cast<int>(s.choice.pair)];
  v["flanges"] = kFlangeNames[static_cast<int>(s.choice.flanges)];
  for (const SectionNumber& n : kSectionNumbers) v[n.key] = s.choice.*n.field;
  v["lacing"] = s.choice.lacing;
  v["editedByHand"] = s.editedByHand;
  return v;
}

// A text of the file (an input's, or one of the book object): a string, or a
// number taken as its text, of at most kCaseMaxTextLength characters and
// without control characters.
std::string TextOf(const Json& v, const std::string& where) {
  std::string text;
  if (v.is_string())
    text = v.get<std::string>();
  else if (v.is_number())
    text = NumberText(v);
  else
    Refuse(where + " 的值既不是文本也不是数字");
  if (HasControlCharacter(text)) Refuse(where + " 的文本含有控制字符");
  if (CharacterCount(text) > kCaseMaxTextLength)
    Refuse(where + " 的文本超过 " + std::to_string(kCaseMaxTextLength) + " 个字符");
  return text;
}

CasePage ParsePage(const std::string& pageName, const Json& inputs, const CPage& page) {
  if (!inputs.is_object()) Refuse("页面 " + pageName + " 的内容不是对象（{...}）");
  CasePage out{pageName, {}, {}};
  for (const auto& [name, value] : inputs.items()) {
    if (name == kSectionKey && dynamic_cast<const CRodCheckPage*>(&page)) {
      out.section = ParseSection(pageName, value);
      continue;
    }
    const NamedControl* n = FindInput(page, name);
    if (!n) Refuse("页面 " + pageName + " 没有输入项 " + Quoted(name));
    const std::string where = "页面 " + pageName + " 的输入项 " + name;
    std::string text = TextOf(value, where);
    if (!NamedAccepts(page, *n, text))
      Refuse(where + " 的值 " + Quoted(text) + " 无效，应为 " + NamedAllowedValues(page, *n));
    out.inputs.push_back({name, std::move(text)});
  }
  return out;
}


void RefuseUnknownKeys(const Json& v, std::initializer_list<const char*> known, const std::string& where) {
  for (const auto& [key, value] : v.items()) {
    bool ok = false;
    for (const char* k : known) ok = ok || key == k;
    if (!ok) Refuse(where + " 没有 " + Quoted(key) + " 一项");
  }
}

const Json& ObjectOf(const Json& v, const std::string& where) {
  if (!v.is_object()) Refuse(where + " 不是对象（{...}）");
  return v;
}

const Json& ArrayOf(const Json& v, const std::string& where) {
  if (!v.is_array()) Refuse(where + " 不是数组（[...]）");
  return v;
}

std::vector<CaseLoadCase> ParseLoadCases(const Json& v, const std::string& where) {
  std::vector<CaseLoadCase> cases;
  for (const Json& c : ArrayOf(v, where)) {
    const std::string one = where + " 的第 " + std::to_string(cases.size() + 1) + " 个工况";
    ObjectOf(c, one);
    RefuseUnknownKeys(c, {"name", "R", "M"}, one);
    CaseLoadCase lc;
    for (auto [key, text] : {std::pair{"name", &lc.name}, {"R", &lc.R}, {"M", &lc.M}}) {
      const auto it = c.find(key);
      if (it == c.end()) Refuse(one + " 缺少 " + key);
      *text = TextOf(*it, one + " 的 " + key);
    }
    if (lc.name.empty()) Refuse(one + " 的名称为空");
    for (const CaseLoadCase& other : cases)
      if (other.name == lc.name) Refuse(where + " 中工况 " + Quoted(lc.name) + " 出现了不止一次");
    cases.push_back(std::move(lc));
  }
  return cases;
}

CPage* PageNamed(const CasePages& pages, const std::string& name) {
  for (const auto& [n, page] : pages)
    if (n == name) return page;
  return nullptr;
}

CaseBook ParseBook(const Json& v, const CasePages& pages) {
  const std::string where = "计算书设置 book";
  ObjectOf(v, where);
  RefuseUnknownKeys(v, {"project", "cases", "sections", "levels", "level"}, where);
  CaseBook book;
  if (const auto it = v.find("project"); it != v.end()) {
    const std::string w = where + " 的工程信息 project";
    ObjectOf(*it, w);
    for (const auto& [key, value] : it->items()) {
      const ProjectField* field = FindProjectField(key);
      if (!field) Refuse(w + " 没有 " + Quoted(key) + " 一项");
      book.project.*field->text = TextOf(value, w + " 的 " + key);
    }
  }
  if (const auto it = v.find("cases"); it != v.end()) book.cases = ParseLoadCases(*it, where + " 的工况 cases");
  if (const auto it = v.find("sections"); it != v.end()) {
    const std::string w = where + " 的杆件截面 sections";
    CPage* rodCheck = PageNamed(pages, kRodCheckCaseName);
    std::set<int> taken;
    for (const Json& s : ArrayOf(*it, w)) {
      const std::string one = w + " 的第 " + std::to_string(book.sections.size() + 1) + " 项";
      ObjectOf(s, one);
      RefuseUnknownKeys(s, {"rods", "inputs"}, one);
      CaseRodSection section;
      const auto rods = s.find("rods");
      if (rods == s.end() || !rods->is_array() || rods->empty()) Refuse(one + " 的 rods 应为杆号的数组，如 [1, 3]");
      for (const Json& r : *rods) {
        if (!r.is_number_integer() || r.get<std::int64_t>() < 1 || r.get<std::int64_t>() > 4)
          Refuse(one + " 的 rods 中杆号应为 1..4 的整数");
        if (!taken.insert(r.get<int>()).second)
          Refuse(w + " 中杆 " + std::to_string(r.get<int>()) + " 出现了不止一次");
        section.rods.push_back(r.get<int>());
      }
      const auto inputs = s.find("inputs");
      if (inputs == s.end()) Refuse(one + " 缺少 inputs");
      if (!rodCheck) Refuse(one + " 无校核页可用");
      section.page = ParsePage(kRodCheckCaseName, *inputs, *rodCheck);
      book.sections.push_back(std::move(section));
    }
  }
  if (const auto it = v.find("levels"); it != v.end()) {
    const std::string w = where + " 的附着道次 levels";
    for (const Json& l : ArrayOf(*it, w)) {
      const std::string one = w + " 的第 " + std::to_string(book.levels.size() + 1) + " 道";
      ObjectOf(l, one);
      RefuseUnknownKeys(l, {"name", "height", "pages", "cases"}, one);
      CaseLevel level;
      const auto name = l.find("name");
      if (name == l.end()) Refuse(one + " 缺少 name");
      level.name = TextOf(*name, one + " 的 name");
      const LevelNameProblem problem = LevelNameProblemOf(book, level.name);
      if (problem == LevelNameProblem::Empty) Refuse(one + " 的名称为空");
      if (problem == LevelNameProblem::Taken) Refuse(w + " 中附着道次 " + Quoted(level.name) + " 出现了不止一次");
      if (const auto h = l.find("height"); h != l.end()) level.height = TextOf(*h, one + " 的 height");
      if (const auto p = l.find("pages"); p != l.end()) {
        for (const auto& [pageName, inputs] : ObjectOf(*p, one + " 的 pages").items()) {
          CPage* page = PageNamed(pages, pageName);
          if (!page || pageName == kRodCheckCaseName)
            Refuse(one + " 的 pages 中有未知的力分析页 " + Quoted(pageName));
          level.pages.push_back(ParsePage(pageName, inputs, *page));
        }
      }
      if (const auto c = l.find("cases"); c != l.end()) level.cases = ParseLoadCases(*c, one + " 的工况 cases");
      book.levels.push_back(std::move(level));
    }
  }
  if (const auto it = v.find("level"); it != v.end()) {
    if (!it->is_number_integer() || it->get<std::int64_t>() < 0 ||
        it->get<std::int64_t>() >= static_cast<std::int64_t>(std::max<size_t>(book.levels.size(), 1)))
      Refuse(where + " 的 level 应为所显示附着道次的序号（0 起）");
    book.level = it->get<int>();
  }
  return book;
}

Json PageInputsJson(const CasePage& p) {
  Json inputs = Json::object();
  for (const CaseInput& in : p.inputs) inputs[in.name] = in.text;
  if (p.section) inputs[kSectionKey] = SectionJson(*p.section);
  return inputs;
}

Json LoadCasesJson(const std::vector<CaseLoadCase>& cases) {
  Json v = Json::array();
  for (const CaseLoadCase& c : cases) v.push_back(Json{{"name", c.name}, {"R", c.R}, {"M", c.M}});
  return v;
}

Json BookJson(const CaseBook& book) {
  Json v = Json::object();
  Json project = Json::object();
  for (const ProjectField& f : kProjectFields)
    if (!(book.project.*f.text).empty()) project[f.key] = book.project.*f.text;
  if (!project.empty()) v["project"] = std::move(project);
  if (!book.cases.empty()) v["cases"] = LoadCasesJson(book.cases);
  if (!book.sections.empty()) {
    Json sections = Json::array();
    for (const CaseRodSection& s : book.sections)
      sections.push_back(Json{{"rods", s.rods}, {"inputs", PageInputsJson(s.page)}});
    v["sections"] = std::move(sections);
  }
  if (!book.levels.empty()) {
    Json levels = Json::array();
    for (const CaseLevel& l : book.levels) {
      Json level = {{"name", l.name}, {"height", l.height}};
      Json pages = Json::object();
      for (const CasePage& p : l.pages) pages[p.name] = PageInputsJson(p);
      level["pages"] = std::move(pages);
      if (!l.cases.empty()) level["cases"] = LoadCasesJson(l.cases);
      levels.push_back(std::move(level));
    }
    v["levels"] = std::move(levels);
    v["level"] = book.level;
  }
  return v;
}

}  // namespace

LevelNameProblem LevelNameProblemOf(const CaseBook& book, std::string_view name, int except) {
  if (name.empty()) return LevelNameProblem::Empty;
  if (CharacterCount(std::string(name)) > kCaseMaxTextLength) return LevelNameProblem::TooLong;
  for (size_t i = 0; i < book.levels.size(); ++i)
    if (static_cast<int>(i) != except && book.levels[i].name == name) return LevelNameProblem::Taken;
  return LevelNameProblem::None;
}

const CasePage* FindPage(const std::vector<CasePage>& pages, std::string_view name) {
  for (const CasePage& p : pages)
    if (p.name == name) return &p;
  return nullptr;
}

bool CaseBook::Empty() const {
  bool noProject = true;
  for (const ProjectField& f : kProjectFields) noProject = noProject && (project.*f.text).empty();
  return noProject && cases.empty() && sections.empty() && levels.empty();
}

const CaseRodSection* CaseBook::SectionOf(int rod) const {
  for (const CaseRodSection& s : sections)
    for (int r : s.rods)
      if (r == rod) return &s;
  return nullptr;
}

void CaseBook::ClearSections(const std::vector<int>& rods) {
  for (CaseRodSection& s : sections)
    std::erase_if(s.rods, [&](int r) { return std::find(rods.begin(), rods.end(), r) != rods.end(); });
  std::erase_if(sections, [](const CaseRodSection& s) { return s.rods.empty(); });
}

void CaseBook::SetSection(const std::vector<int>& rods, CasePage page) {
  if (rods.empty()) return;
  ClearSections(rods);
  sections.push_back({rods, std::move(page)});
}

CaseState ParseCase(std::string_view text, const CasePages& pages) {
  // The library checks the encoding while it writes a string out; a text
  // that is not UTF-8 is refused before it is read as JSON.
  try {
    (void)Json(std::string(text)).dump();
  } catch (const Json::type_error&) {
    Refuse("文件不是有效的 UTF-8 文本");
  }
  // The library keeps the last of two equal keys; a case says each thing
  // once, at every level, or it is not taken.
  std::vector<std::set<std::string>> keysSeen;  // one set per object open
  std::string duplicate;
  const Json::parser_callback_t noDuplicates = [&](int, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::object_start) keysSeen.emplace_back();
    if (event == Json::parse_event_t::object_end && !keysSeen.empty()) keysSeen.pop_back();
    if (event == Json::parse_event_t::key && !keysSeen.empty() && duplicate.empty() &&
        !keysSeen.back().insert(parsed.get<std::string>()).second)
      duplicate = parsed.get<std::string>();
    return true;
  };
  Json doc;
  try {
    doc = Json::parse(text, noDuplicates);
  } catch (const Json::parse_error& e) {
    Refuse("文件不是有效的 JSON（第 " + std::to_string(e.byte) + " 字节处有误）");
  } catch (const Json::exception&) {
    // A number beyond the range of a double (1e400) ends the parse too.
    Refuse("文件不是有效的 JSON（数值超出范围）");
  }
  if (!duplicate.empty()) Refuse("键 " + Quoted(duplicate) + " 在同一对象中出现了不止一次");
  const auto member = [&doc](const char* key) -> const Json* {
    if (!doc.is_object()) return nullptr;
    const auto it = doc.find(key);
    return it == doc.end() ? nullptr : &*it;
  };
  const Json* format = member("format");
  if (!format || *format != kCaseFormat)
    Refuse(std::string("文件中没有 \"format\": \"") + kCaseFormat + "\"，不是塔机附着计算文件");
  const Json* version = member("version");
  if (!version || !version->is_number_integer() || version->get<std::int64_t>() < 1)
    Refuse("文件的版本号 \"version\" 缺失或无效");
  if (!version->is_number_unsigned() || version->get<std::uint64_t>() > static_cast<std::uint64_t>(kCaseVersion))
    Refuse("文件版本 " + version->dump() + " 比本程序所能读取的版本 " + std::to_string(kCaseVersion) +
           " 新，请使用新版程序打开");

  CaseState state;
  if (const Json* page = member("page")) {
    if (!page->is_string()) Refuse("\"page\" 的值不是文本");
    state.page = page->get<std::string>();
    bool known = false;
    for (const auto& [name, p] : pages) known = known || name == state.page;
    if (!known) Refuse("未知的页面 " + Quoted(state.page) + "（应为 " + PageNameList(pages) + "）");
  }
  if (const Json* file = member("file"); file && file->is_string()) state.file = file->get<std::string>();
  if (const Json* saved = member("pages")) {
    if (!saved->is_object()) Refuse("\"pages\" 的值不是对象（{...}）");
    for (const auto& [name, p] : pages) {
      const auto it = saved->find(name);
      if (it != saved->end()) state.pages.push_back(ParsePage(name, *it, *p));
    }
    for (const auto& [name, inputs] : saved->items())
      if (!state.Find(name)) Refuse("未知的页面 " + Quoted(name) + "（应为 " + PageNameList(pages) + "）");
  }
  if (const Json* book = member("book")) state.book = ParseBook(*book, pages);
  return state;
}

CaseState ReadCaseFile(const fs::path& path, const CasePages& pages) {
  const std::string prefix = CaseOpenRefusal(path, "");
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) throw CCaseError(prefix + "文件不存在");
  if (ec) throw CCaseError(prefix + file::SystemErrorInWords(ec));  // a loop of links, a folder not to be entered
  if (fs::is_directory(status)) throw CCaseError(prefix + "这是一个文件夹，不是文件");
  // Looked at by name: opening a named pipe to read would wait for a writer.
  if (!fs::is_regular_file(status))
    throw CCaseError(prefix + "不是普通文件（是" + file::FileTypeInWords(status.type()) + "）");
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) throw CCaseError(prefix + "无法读取（" + file::SystemErrorInWords(ec) + "）");
  if (size > kCaseMaxBytes) throw CCaseError(prefix + "文件大于 1 MiB，不是塔机附着计算文件");
  std::ifstream in(path, std::ios::binary);
  std::string text;
  if (in) {
    // To the end or to one byte more than allowed, so that a file grown since
    // its size was taken is still refused. Read in pieces: a buffer of the
    // largest size allowed, zero-filled, would cost more than the whole case.
    text.reserve(static_cast<size_t>(size) + 1);
    char piece[16384];
    while (text.size() <= kCaseMaxBytes && in.read(piece, sizeof piece).gcount() > 0)
      text.append(piece, static_cast<size_t>(in.gcount()));
  }
  if (!in && !in.eof()) throw CCaseError(prefix + "无法读取文件");
  if (text.size() > kCaseMaxBytes) throw CCaseError(prefix + "文件大于 1 MiB，不是塔机附着计算文件");
  try {
    return ParseCase(text, pages);
  } catch (const CCaseError& e) {
    throw CCaseError(CaseOpenRefusal(path, e.what()));
  }
}

std::string WriteCase(const CaseState& state) {
  Json doc;
  doc["format"] = kCaseFormat;
  doc["version"] = kCaseVersion;
  // No page shown is the first; "" would not read back.
  if (!state.page.empty()) doc["page"] = state.page;
  Json pages = Json::object();
  for (const CasePage& p : state.pages) pages[p.name] = PageInputsJson(p);
  doc["pages"] = std::move(pages);
  if (!state.book.Empty()) doc["book"] = BookJson(state.book);
  if (!state.file.empty()) doc["file"] = state.file;
  // A field may hold bytes that are not UTF-8 (typed or pasted); they are
  // written as U+FFFD, so the file stays readable.
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void SaveCaseFile(const fs::path& path, const CaseState& state) {
  const std::string text = WriteCase(state);
  try {
    file::WriteFileAtomically(Utf8(path), text);
  } catch (const file::CFileError& e) {
    throw CCaseError("无法保存计算文件 " + Quoted(Utf8(path)) + "：" + file::WhyInWords(e));
  }
}

CaseState CaptureCase(const CasePages& pages, const std::string& shownPage) {
  CaseState state;
  state.page = shownPage;
  for (const auto& [name, page] : pages) state.pages.push_back(CapturePage(name, *page));
  return state;
}

CaseState CaptureCase(const CasePages& pages, const std::string& shownPage, const CaseBook& book) {
  CaseState state = CaptureCase(pages, shownPage);
  state.book = book;
  if (book.levels.empty()) return state;
  CaseLevel& shown = state.book.Shown();
  shown.pages.clear();
  for (const CasePage& p : state.pages)
    if (!dynamic_cast<const CRodCheckPage*>(PageNamed(pages, p.name))) shown.pages.push_back(p);
  return state;
}

CasePage CapturePage(const std::string& name, const CPage& page) {
  CasePage p{name, {}, {}};
  for (const NamedControl& n : page.Names())
    if (n.input) p.inputs.push_back({n.name, NamedText(page, n)});
  if (const auto* rodCheck = dynamic_cast<const CRodCheckPage*>(&page); rodCheck && rodCheck->Section()) {
    const CRodCheckPage::ChosenSection& s = *rodCheck->Section();
    p.section = CaseSection{s.choice, s.form, s.editedByHand};
  }
  return p;
}

void ApplyCase(const CaseState& state, const CasePages& pages) {
  for (const auto& [name, page] : pages) {
    const CasePage* saved = state.Find(name);
    if (!saved) continue;
    const auto valueOf = [saved](const std::string& input) -> const std::string* {
      for (const CaseInput& in : saved->inputs)
        if (in.name == input) return &in.text;
      return nullptr;
    };
    // The check boxes and lists first: they unlock fields (the manual
    // lengths, the lattice inputs). Then the fields, in page order, so that
    // Imax and Imin precede Ld. Then the locked fields, and last the lists
    // that type into fields (the 轴力取自 list), over the texts saved. What
    // the page shows already is not typed again: a page whose inputs all
    // keep their start texts stays as it started, with its start message.
    enum Step { kSwitches, kFields, kLocked, kFillers };
    for (Step step : {kSwitches, kFields, kLocked, kFillers}) {
      for (const NamedControl& n : page->Names()) {
        if (!n.input) continue;
        const ControlKind kind = page->KindOf(n.id);
        const bool isSwitch = kind == ControlKind::CheckBox || kind == ControlKind::ComboBox;
        const Step own = n.fillsInputs ? kFillers : isSwitch ? kSwitches : kFields;
        if (own != step && !(step == kLocked && own == kFields)) continue;
        const std::string* text = valueOf(n.name);
        if (!text || NamedText(*page, n) == *text) continue;
        if (step != kLocked) {
          UserSetNamed(*page, n, *text);
          continue;
        }
        // A field still locked holds what the page wrote there. A text the
        // page wrote from earlier inputs (its stale results, a copy) comes
        // back as saved; any other is refused, as typing into a locked
        // field on the command line is.
        if (!page->IsReadOnly(n.id)) {
          UserSetNamed(*page, n, *text);
        } else if (page->ShowsWrittenText(n.id)) {
          page->SetText(n.id, *text);
        } else {
          Refuse("页面 " + name + " 的输入项 " + n.name + " 此时为只读，不能填入 " + Quoted(*text) + "（页面显示 " +
                 Quoted(NamedText(*page, n)) + "）");
        }
      }
    }
    // The section last: its choice and state come back over the fields as
    // saved, nothing typed again.
    if (auto* rodCheck = dynamic_cast<CRodCheckPage*>(page); rodCheck && saved->section) {
      const CaseSection& s = *saved->section;
      if (const std::string why = rodCheck->RestoreSection(s.choice, s.form, s.editedByHand); !why.empty())
        Refuse("页面 " + name + " 的截面 section 无法建立：" + why);
    }
  }
}

std::string CaseOpenRefusal(const fs::path& path, const std::string& reason) {
  return "无法打开计算文件 " + Quoted(Utf8(path)) + "：" + reason;
}

std::string CaseDisplayName(const fs::path& path) { return Utf8(path.filename()); }

}  // namespace tiecalc
