#include "platform/sheetdb/SheetSql.h"

#include <cctype>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc::sheetdb {

namespace {

struct Token {
  enum class Kind { Word, Name, Text, Punct, End } kind = Kind::End;
  std::string text;  // words upper-cased; names and texts unescaped
};

class Lexer {
 public:
  explicit Lexer(const std::string& sql) : m_sql(sql) { Advance(); }

  const Token& Peek() const { return m_token; }

  Token Take() {
    Token t = m_token;
    Advance();
    return t;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw CSheetSqlError("工作簿语句有语法错误：第 " + std::to_string(m_start + 1) + " 个字符处" + what);
  }

  void ExpectWord(const char* word) {
    if (m_token.kind != Token::Kind::Word || m_token.text != word) Fail(std::string("应为 ") + word);
    Advance();
  }
  void ExpectPunct(char c) {
    if (m_token.kind != Token::Kind::Punct || m_token.text[0] != c) Fail(std::string("应为“") + c + "”");
    Advance();
  }
  bool TakePunct(char c) {
    if (m_token.kind != Token::Kind::Punct || m_token.text[0] != c) return false;
    Advance();
    return true;
  }

 private:
  // A quoted item: the closing character doubled stands for itself.
  std::string Quoted(char close) {
    std::string out;
    for (;;) {
      if (m_pos >= m_sql.size()) Fail(close == ']' ? "名称没有结束" : "文字没有结束");
      char c = m_sql[m_pos++];
      if (c == close) {
        if (m_pos < m_sql.size() && m_sql[m_pos] == close) {
          out += close;
          ++m_pos;
          continue;
        }
        return out;
      }
      out += c;
    }
  }

  void Advance() {
    while (m_pos < m_sql.size() && std::isspace(static_cast<unsigned char>(m_sql[m_pos]))) ++m_pos;
    m_start = m_pos;
    if (m_pos >= m_sql.size()) {
      m_token = {Token::Kind::End, ""};
      return;
    }
    char c = m_sql[m_pos];
    if (c == '[') {
      ++m_pos;
      m_token = {Token::Kind::Name, Quoted(']')};
    } else if (c == '\'') {
      ++m_pos;
      m_token = {Token::Kind::Text, Quoted('\'')};
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      std::string word;
      while (m_pos < m_sql.size() && (std::isalnum(static_cast<unsigned char>(m_sql[m_pos])) || m_sql[m_pos] == '_'))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(m_sql[m_pos++])));
      m_token = {Token::Kind::Word, word};
    } else if (c == '(' || c == ')' || c == ',' || c == '*') {
      ++m_pos;
      m_token = {Token::Kind::Punct, std::string(1, c)};
    } else {
      Fail(std::string("有多余的字符“") + c + "”");
    }
  }

  const std::string& m_sql;
  size_t m_pos = 0, m_start = 0;
  Token m_token;
};

// "IV65536" -> column 256, row 65536; false when it is not a cell reference.
bool ParseCell(const std::string& ref, int& column, int& row) {
  size_t i = 0;
  column = 0;
  while (i < ref.size() && std::isalpha(static_cast<unsigned char>(ref[i])) && i < 3)
    column = column * 26 + (std::toupper(static_cast<unsigned char>(ref[i++])) - 'A' + 1);
  if (i == 0 || i == ref.size()) return false;
  row = 0;
  for (; i < ref.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(ref[i])) || row > 10000000) return false;
    row = row * 10 + (ref[i] - '0');
  }
  return row > 0;
}

TableRef ParseTable(Lexer& lex) {
  if (lex.Peek().kind != Token::Kind::Name) lex.Fail("应为方括号中的表名");
  std::string name = lex.Take().text;
  TableRef t;
  size_t dollar = name.rfind('$');
  if (dollar == std::string::npos) {
    t.sheet = name;
    return t;
  }
  std::string range = name.substr(dollar + 1);
  t.sheet = name.substr(0, dollar);
  size_t colon = range.find(':');
  int c0 = 0, r0 = 0;
  if (colon == std::string::npos || !ParseCell(range.substr(0, colon), c0, r0) ||
      !ParseCell(range.substr(colon + 1), t.lastColumn, t.lastRow))
    throw CSheetSqlError("表“" + name + "”的范围“" + range + "”不是有效的单元格范围");
  if (c0 != 1 || r0 != 1)
    throw CSheetSqlError("表“" + name + "”的范围“" + range + "”必须从 A1 开始");
  if (t.lastColumn > static_cast<int>(kMaxColumns) || t.lastRow > static_cast<int>(kMaxRows))
    throw CSheetSqlError("表“" + name + "”的范围“" + range + "”超出了 IV65536");
  t.hasRange = true;
  return t;
}

std::string ParseColumnName(Lexer& lex) {
  if (lex.Peek().kind != Token::Kind::Name) lex.Fail("应为方括号中的列名");
  return lex.Take().text;
}

void ParseEnd(Lexer& lex) {
  if (lex.Peek().kind != Token::Kind::End) lex.Fail("语句后面有多余的文字");
}

}  // namespace

Statement ParseStatement(const std::string& sql) {
  Lexer lex(sql);
  Statement st;
  Token first = lex.Take();
  if (first.kind != Token::Kind::Word) lex.Fail("应为 CREATE、DROP、INSERT 或 SELECT");
  if (first.text == "CREATE") {
    st.kind = Statement::Kind::Create;
    lex.ExpectWord("TABLE");
    st.table = ParseTable(lex);
    lex.ExpectPunct('(');
    do {
      st.columns.push_back(ParseColumnName(lex));
      if (lex.Peek().kind != Token::Kind::Word) lex.Fail("应为列的类型");
      std::string type = lex.Take().text;
      if (type != "CHAR") lex.Fail("不支持列的类型 " + type);
      lex.ExpectPunct('(');
      Token size = lex.Take();
      if (size.kind != Token::Kind::Word || size.text.find_first_not_of("0123456789") != std::string::npos ||
          size.text.size() > 3 || std::stoi(size.text) < 1 || std::stoi(size.text) > 255)
        lex.Fail("列的长度应为 1 到 255");
      lex.ExpectPunct(')');
    } while (lex.TakePunct(','));
    lex.ExpectPunct(')');
  } else if (first.text == "DROP") {
    st.kind = Statement::Kind::Drop;
    lex.ExpectWord("TABLE");
    st.table = ParseTable(lex);
  } else if (first.text == "INSERT") {
    st.kind = Statement::Kind::Insert;
    lex.ExpectWord("INTO");
    st.table = ParseTable(lex);
    lex.ExpectPunct('(');
    do st.columns.push_back(ParseColumnName(lex));
    while (lex.TakePunct(','));
    lex.ExpectPunct(')');
    lex.ExpectWord("VALUES");
    lex.ExpectPunct('(');
    do {
      if (lex.Peek().kind != Token::Kind::Text) lex.Fail("应为单引号中的值");
      st.values.push_back(lex.Take().text);
    } while (lex.TakePunct(','));
    lex.ExpectPunct(')');
    if (st.values.size() != st.columns.size())
      throw CSheetSqlError("值的个数与列的个数不同");
  } else if (first.text == "SELECT") {
    st.kind = Statement::Kind::Select;
    lex.ExpectPunct('*');
    lex.ExpectWord("FROM");
    st.table = ParseTable(lex);
  } else {
    lex.Fail("应为 CREATE、DROP、INSERT 或 SELECT");
  }
  ParseEnd(lex);
  return st;
}

}  // namespace tiecalc::sheetdb
