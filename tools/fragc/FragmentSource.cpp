#include "fragc/FragmentSource.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace tiecalc::fragc {

namespace {

// A paragraph number or a count of blanks: 1 to 9999.
bool ReadCount(std::string_view digits, int& count) {
  if (digits.empty() || digits.size() > 4) return false;
  count = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    count = count * 10 + (c - '0');
  }
  return count > 0;
}

class LineReader {
 public:
  LineReader(std::string_view line, std::string where) : m_s(line), m_where(std::move(where)) {}

  std::vector<Piece> Pieces() {
    std::vector<Piece> pieces;
    for (SkipBlanks(); m_i < m_s.size(); SkipBlanks()) pieces.push_back(ReadPiece());
    if (pieces.empty()) Fail("paragraph without content");
    return pieces;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw SourceError(m_where + ": " + what); }

  void SkipBlanks() {
    while (m_i < m_s.size() && (m_s[m_i] == ' ' || m_s[m_i] == '\t')) ++m_i;
  }

  bool At(std::string_view text) const { return m_s.substr(m_i, text.size()) == text; }

  Piece ReadPiece() {
    Piece piece;
    if (At("\"")) {
      const std::size_t end = m_s.find('"', m_i + 1);
      if (end == std::string_view::npos) Fail("text without closing quote");
      piece.value = m_s.substr(m_i + 1, end - m_i - 1);
      if (piece.value.empty()) Fail("empty text");
      m_i = end + 1;
    } else if (At("(")) {
      const std::size_t end = m_s.find(')', m_i);
      const std::string_view inside = m_s.substr(m_i + 1, end == std::string_view::npos ? 0 : end - m_i - 1);
      const std::size_t space = inside.find(' ');
      int count = 0;
      if (end == std::string_view::npos || space == 0 || space == std::string_view::npos ||
          inside.substr(space) != " blanks" || !ReadCount(inside.substr(0, space), count))
        Fail("expected \"(n blanks)\"");
      piece.value.assign(static_cast<std::size_t>(count), ' ');
      m_i = end + 1;
    } else if (At("[")) {
      const std::string_view inside = Bracketed();
      if (inside.starts_with("equation:")) {
        piece.kind = Piece::Kind::Equation;
        piece.value = Trim(inside.substr(9));
        if (piece.value.empty()) Fail("empty equation");
      } else if (inside.starts_with("drawing ")) {
        piece.kind = Piece::Kind::Drawing;
        const std::size_t colon = inside.find(':');
        piece.value = Trim(inside.substr(8, colon == std::string_view::npos ? std::string_view::npos : colon - 8));
        if (colon != std::string_view::npos) piece.description = Trim(inside.substr(colon + 1));
        if (piece.value.empty()) Fail("drawing without a figure name");
      } else if (inside.starts_with("field ")) {
        piece.kind = Piece::Kind::Field;
        piece.value = Trim(inside.substr(6));
        if (piece.value != "PAGE" && piece.value != "NUMPAGES") Fail("unknown field \"" + piece.value + "\"");
      } else {
        Fail("unknown piece \"[" + std::string(inside) + "]\"");
      }
    } else {
      Fail("unexpected \"" + std::string(m_s.substr(m_i)) + "\"");
    }
    return piece;
  }

  // The inside of the bracket pair that starts here; nested pairs included.
  std::string_view Bracketed() {
    int depth = 0;
    for (std::size_t j = m_i; j < m_s.size(); ++j) {
      if (m_s[j] == '[') ++depth;
      if (m_s[j] == ']' && --depth == 0) {
        const std::string_view inside = m_s.substr(m_i + 1, j - m_i - 1);
        m_i = j + 1;
        return inside;
      }
    }
    Fail("\"[\" without \"]\"");
  }

  static std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
  }

  std::string_view m_s;
  std::string m_where;
  std::size_t m_i = 0;

};

}  // namespace

FragmentSource ParseFragmentSource(std::string_view text, const std::string& name,
                                   const std::function<FragmentSource(const std::string&)>& loadBase) {
  FragmentSource source;
  bool derived = false, numberedSeen = false;
  std::size_t lineNumber = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string where = name + ":" + std::to_string(lineNumber);
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos || line[first] == '#') continue;
    line.remove_prefix(first);

    if (line.starts_with("same as:")) {
      if (derived || numberedSeen || source.footer) throw SourceError(where + ": \"same as:\" must come first");
      std::string base(line.substr(8));
      base.erase(0, base.find_first_not_of(' '));
      base.erase(base.find_last_not_of(' ') + 1);
      source = loadBase(base);
      derived = true;
      continue;
    }
    if (line.starts_with("footer:")) {
      if (source.footer && !derived) throw SourceError(where + ": second footer");
      source.footer = Paragraph{0, LineReader(line.substr(7), where).Pieces()};
      continue;
    }
    const std::size_t dot = line.find(". ");
    int number = 0;
    if (dot == std::string_view::npos || !ReadCount(line.substr(0, dot), number))
      throw SourceError(where + ": expected a numbered paragraph \"n. ...\"");
    Paragraph paragraph{number, LineReader(line.substr(dot + 2), where).Pieces()};
    numberedSeen = true;
    if (derived) {
      if (number > static_cast<int>(source.paragraphs.size()))
        throw SourceError(where + ": the fragment named by \"same as:\" has no paragraph " + std::to_string(number));
      source.paragraphs[static_cast<std::size_t>(number) - 1] = std::move(paragraph);
    } else {
      if (number != static_cast<int>(source.paragraphs.size()) + 1)
        throw SourceError(where + ": paragraph " + std::to_string(number) + " where " +
                          std::to_string(source.paragraphs.size() + 1) + " was due");
      source.paragraphs.push_back(std::move(paragraph));
    }
  }
  if (source.paragraphs.empty()) throw SourceError(name + ": no paragraph");
  return source;
}

namespace {

// depth: how many "same as:" lead here; one level is enough, and it keeps a
// pair of files that name each other from going round for ever.
FragmentSource LoadFragmentSource(const std::filesystem::path& path, int depth) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return ParseFragmentSource(text.str(), path.filename().string(), [&](const std::string& base) {
    if (depth > 0) throw SourceError(path.string() + ": a fragment named by \"same as:\" must be a full one");
    return LoadFragmentSource(path.parent_path() / base, depth + 1);
  });
}

}  // namespace

FragmentSource LoadFragmentSource(const std::filesystem::path& path) { return LoadFragmentSource(path, 0); }

std::vector<std::string> FigureNames(const FragmentSource& source) {
  std::vector<std::string> names;
  for (const Paragraph& paragraph : source.paragraphs)
    for (const Piece& piece : paragraph.pieces)
      if (piece.kind == Piece::Kind::Drawing) names.push_back(piece.value);
  return names;
}

}  // namespace tiecalc::fragc
