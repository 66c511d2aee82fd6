#include "fragc/Notation.h"

#include <sstream>

#include "fragc/Utf8.h"
#include "platform/word/OoxmlNamespaces.h"
#include "platform/word/PackageBuilder.h"

namespace tiecalc::fragc {

const char* const kMathNamespace = ooxml::kMath;
const char* const kWordNamespace = ooxml::kWordMain;

namespace {

constexpr char32_t kLineBreak = U'⏎';
constexpr char32_t kSum = U'∑';

MathNode Node(MathNode::Kind kind, std::vector<MathList> parts) {
  MathNode node;
  node.kind = kind;
  node.parts = std::move(parts);
  return node;
}

MathNode TextNode(char32_t c) {
  MathNode node;
  node.text.assign(1, c);
  return node;
}

bool IsText(const MathNode& node, char32_t c) {
  return node.kind == MathNode::Kind::Text && node.text.size() == 1 && node.text[0] == c;
}

class Parser {
 public:
  explicit Parser(std::u32string notation) : m_s(std::move(notation)) {}

  MathList Parse() {
    std::vector<MathList> lines = ParseUntil(0, true);
    if (lines.size() == 1) return std::move(lines[0]);
    return {Node(MathNode::Kind::Lines, std::move(lines))};
  }

 private:
  [[noreturn]] void Fail(const std::string& what, std::size_t at) const {
    std::ostringstream text;
    text << what << " at character " << at + 1 << " of \"" << ToUtf8(m_s) << "\"";
    throw NotationError(text.str(), at);
  }

  bool At(std::u32string_view text) const { return m_s.compare(m_i, text.size(), text) == 0; }

  // Reads up to the closing character (0: the end of the notation) and steps
  // over it. Returns the lines read; one unless line breaks are allowed.
  std::vector<MathList> ParseUntil(char32_t close, bool linesAllowed) {
    const std::size_t start = m_i;
    std::vector<MathList> lines(1);
    for (;;) {
      if (m_i == m_s.size()) {
        if (close != 0) Fail(std::string("missing \"") + ToUtf8(std::u32string(1, close)) + "\"", start ? start - 1 : 0);
        break;
      }
      const char32_t c = m_s[m_i];
      if (close != 0 && c == close) {
        ++m_i;
        break;
      }
      if (c == kLineBreak) {
        if (!linesAllowed) Fail("line break inside a part of the equation", m_i);
        while (!lines.back().empty() && IsText(lines.back().back(), U' ')) lines.back().pop_back();
        ++m_i;
        while (m_i < m_s.size() && m_s[m_i] == U' ') ++m_i;
        lines.emplace_back();
        continue;
      }
      if (c == U')' || c == U'}') Fail("unmatched \"" + ToUtf8(std::u32string(1, c)) + "\"", m_i);
      ParseItem(lines.back());
    }
    for (MathList& line : lines) Finish(line);
    return lines;
  }

  MathList ParsePart(char32_t close) { return std::move(ParseUntil(close, false)[0]); }

  void ParseItem(MathList& list) {
    const char32_t c = m_s[m_i];
    if (c == U'(') {
      ++m_i;
      MathList inner = ParsePart(U')');
      if (At(U"/(")) {
        m_i += 2;
        MathList denominator = ParsePart(U')');
        list.push_back(Node(MathNode::Kind::Fraction, {std::move(inner), std::move(denominator)}));
      } else {
        list.push_back(Node(MathNode::Kind::Group, {std::move(inner)}));
      }
    } else if (At(U"sqrt(")) {
      m_i += 5;
      list.push_back(Node(MathNode::Kind::Radical, {ParsePart(U')')}));
    } else if (c == U'{') {
      ++m_i;
      list.push_back(Node(MathNode::Kind::Brace, ParseUntil(U'}', true)));
    } else if (c == U'_' || c == U'^') {
      const std::size_t at = m_i++;
      if (m_i == m_s.size() || m_s[m_i] != U'{') Fail("\"" + ToUtf8(std::u32string(1, c)) + "\" without \"{\"", at);
      ++m_i;
      AttachScript(list, c == U'_' ? 1 : 2, ParsePart(U'}'), at);
    } else if (c == kSum) {
      ++m_i;
      list.push_back(Node(MathNode::Kind::Sum, {{}, {}, {}}));
    } else {
      ++m_i;
      list.push_back(TextNode(c));
    }
  }

  // slot: 1 subscript, 2 superscript (the part index of a script node).
  void AttachScript(MathList& list, int slot, MathList script, std::size_t at) {
    if (list.empty()) Fail("subscript or superscript without a base", at);
    MathNode& last = list.back();
    if (last.kind == MathNode::Kind::Sum || last.kind == MathNode::Kind::Script) {
      const std::size_t index = last.kind == MathNode::Kind::Sum ? slot - 1 : slot;
      if (!last.parts[index].empty()) Fail("second subscript or superscript", at);
      last.parts[index] = std::move(script);
      return;
    }
    MathList base;
    base.push_back(std::move(last));
    list.pop_back();
    std::vector<MathList> parts{std::move(base), {}, {}};
    parts[slot] = std::move(script);
    list.push_back(Node(MathNode::Kind::Script, std::move(parts)));
  }

  // A summation with limits takes what follows it, up to "=" or the end;
  // one without limits is only the printed sign. Characters are then joined
  // into runs of text.
  static void Finish(MathList& list) {
    for (std::size_t i = list.size(); i-- > 0;) {
      if (list[i].kind != MathNode::Kind::Sum) continue;
      if (list[i].parts[0].empty() && list[i].parts[1].empty()) {
        list[i] = TextNode(kSum);
        continue;
      }
      std::size_t end = i + 1;
      while (end < list.size() && !IsText(list[end], U'=')) ++end;
      MathList summand(std::make_move_iterator(list.begin() + static_cast<std::ptrdiff_t>(i) + 1),
                       std::make_move_iterator(list.begin() + static_cast<std::ptrdiff_t>(end)));
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                 list.begin() + static_cast<std::ptrdiff_t>(end));
      list[i].parts[2] = std::move(summand);
    }
    MathList joined;
    for (MathNode& node : list) {
      if (node.kind == MathNode::Kind::Text && !joined.empty() &&
          joined.back().kind == MathNode::Kind::Text)
        joined.back().text += node.text;
      else
        joined.push_back(std::move(node));
    }
    list = std::move(joined);
  }

  std::u32string m_s;
  std::size_t m_i = 0;
};

// Function names are set upright; everything else as the math font has it.
constexpr std::u32string_view kFunctionNames[] = {U"arctan", U"sin", U"cos", U"tan"};

void AppendRun(pugi::xml_node parent, std::u32string_view text, bool upright) {
  pugi::xml_node run = parent.append_child("m:r");
  if (upright) run.append_child("m:rPr").append_child("m:sty").append_attribute("m:val") = "p";
  AppendRunFonts(run.append_child("w:rPr"), "Cambria Math");
  pugi::xml_node t = run.append_child("m:t");
  t.append_attribute("xml:space") = "preserve";
  t.text().set(ToUtf8(text).c_str());
}

void AppendText(pugi::xml_node parent, std::u32string_view text) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 0;
    for (std::u32string_view name : kFunctionNames)
      if (text.substr(i, name.size()) == name) {
        length = name.size();
        break;
      }
    if (length == 0) {
      ++i;
      continue;
    }
    if (i > plain) AppendRun(parent, text.substr(plain, i - plain), false);
    AppendRun(parent, text.substr(i, length), true);
    i += length;
    plain = i;
  }
  if (text.size() > plain) AppendRun(parent, text.substr(plain), false);
}

void AppendList(pugi::xml_node parent, const MathList& list);

bool IsTall(const MathList& list) {
  for (const MathNode& node : list) {
    if (node.kind != MathNode::Kind::Text && node.kind != MathNode::Kind::Script && node.kind != MathNode::Kind::Group)
      return true;
    for (const MathList& part : node.parts)
      if (IsTall(part)) return true;
  }
  return false;
}

void AppendPart(pugi::xml_node parent, const char* name, const MathList& list) {
  AppendList(parent.append_child(name), list);
}

void AppendLines(pugi::xml_node parent, const std::vector<MathList>& lines) {
  if (lines.size() == 1) {
    AppendList(parent, lines[0]);
    return;
  }
  pugi::xml_node stack = parent.append_child("m:eqArr");
  for (const MathList& line : lines) AppendPart(stack, "m:e", line);
}

void AppendNode(pugi::xml_node parent, const MathNode& node) {
  using Kind = MathNode::Kind;
  switch (node.kind) {
    case Kind::Text:
      AppendText(parent, node.text);
      break;
    case Kind::Script: {
      const bool sub = !node.parts[1].empty(), sup = !node.parts[2].empty();
      pugi::xml_node script = parent.append_child(sub && sup ? "m:sSubSup" : sub ? "m:sSub" : "m:sSup");
      AppendPart(script, "m:e", node.parts[0]);
      if (sub) AppendPart(script, "m:sub", node.parts[1]);
      if (sup) AppendPart(script, "m:sup", node.parts[2]);
      break;
    }
    case Kind::Fraction: {
      pugi::xml_node fraction = parent.append_child("m:f");
      AppendPart(fraction, "m:num", node.parts[0]);
      AppendPart(fraction, "m:den", node.parts[1]);
      break;
    }
    case Kind::Radical: {
      pugi::xml_node radical = parent.append_child("m:rad");
      radical.append_child("m:radPr").append_child("m:degHide").append_attribute("m:val") = "1";
      radical.append_child("m:deg");
      AppendPart(radical, "m:e", node.parts[0]);
      break;
    }
    case Kind::Sum: {
      pugi::xml_node nary = parent.append_child("m:nary");
      pugi::xml_node properties = nary.append_child("m:naryPr");
      properties.append_child("m:chr").append_attribute("m:val") = "∑";
      properties.append_child("m:limLoc").append_attribute("m:val") = "undOvr";
      if (node.parts[0].empty()) properties.append_child("m:subHide").append_attribute("m:val") = "1";
      if (node.parts[1].empty()) properties.append_child("m:supHide").append_attribute("m:val") = "1";
      AppendPart(nary, "m:sub", node.parts[0]);
      AppendPart(nary, "m:sup", node.parts[1]);
      AppendPart(nary, "m:e", node.parts[2]);
      break;
    }
    case Kind::Group:
      // Brackets grow only round what stands taller than a line of text.
      if (IsTall(node.parts[0])) {
        AppendPart(parent.append_child("m:d"), "m:e", node.parts[0]);
      } else {
        AppendText(parent, U"(");
        AppendList(parent, node.parts[0]);
        AppendText(parent, U")");
      }
      break;
    case Kind::Brace: {
      pugi::xml_node delimiter = parent.append_child("m:d");
      pugi::xml_node properties = delimiter.append_child("m:dPr");
      properties.append_child("m:begChr").append_attribute("m:val") = "{";
      properties.append_child("m:endChr").append_attribute("m:val") = "";
      AppendLines(delimiter.append_child("m:e"), node.parts);
      break;
    }
    case Kind::Lines:
      AppendLines(parent, node.parts);
      break;
  }
}

void AppendList(pugi::xml_node parent, const MathList& list) {
  for (const MathNode& node : list) AppendNode(parent, node);
}

}  // namespace

MathList ParseNotation(std::string_view utf8) {
  std::u32string notation = FromUtf8(utf8);
  const std::size_t first = notation.find_first_not_of(U' ');
  if (first == std::u32string::npos) throw NotationError("empty equation", 0);
  notation = notation.substr(first, notation.find_last_not_of(U' ') - first + 1);
  return Parser(std::move(notation)).Parse();
}

void AppendOmml(pugi::xml_node oMath, const MathList& equation) { AppendList(oMath, equation); }

void AppendNotation(pugi::xml_node oMath, const std::string& notation) { AppendOmml(oMath, ParseNotation(notation)); }

std::string NotationToOmml(std::string_view utf8) {
  const MathList equation = ParseNotation(utf8);
  pugi::xml_document document;
  pugi::xml_node oMath = document.append_child("m:oMath");
  oMath.append_attribute("xmlns:m") = kMathNamespace;
  oMath.append_attribute("xmlns:w") = kWordNamespace;
  AppendOmml(oMath, equation);
  std::ostringstream out;
  document.save(out, "", pugi::format_raw | pugi::format_no_declaration);
  return out.str();
}

}  // namespace tiecalc::fragc
