// .xlsx storage: an Office Open XML spreadsheet package (zip of XML parts).
// Written: the workbook, one worksheet part per sheet with every text in the
// shared string table, minimal styles, and the engine's mark as the
// application in docProps/app.xml. Read: the cell values of every
// worksheet (shared and inline strings, numbers, booleans, errors, formula
// results as cached).

#include <zip.h>

#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <sstream>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetDbMessages.h"
#include "platform/sheetdb/ReadLimits.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc::sheetdb {

namespace {

constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kPkgRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string ColumnName(size_t col) {
  std::string s;
  for (size_t c = col + 1; c > 0; c = (c - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
  return s;
}

std::string XmlText(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

pugi::xml_document NewDocument() {
  pugi::xml_document doc;
  auto decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  decl.append_attribute("standalone") = "yes";
  return doc;
}

// Text that keeps leading and trailing blanks (a cell of one space).
void SetText(pugi::xml_node t, const std::string& text) {
  if (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.find('\n') != std::string::npos))
    t.append_attribute("xml:space") = "preserve";
  t.text().set(text.c_str());
}

struct ZipReader {
  zip_t* archive = nullptr;
  ~ZipReader() {
    if (archive) zip_discard(archive);
  }
};

std::string NumberText(const char* text) {
  double v = 0;
  const char* end = text + std::char_traits<char>::length(text);
  auto res = std::from_chars(text, end, v);
  if (res.ec != std::errc() || res.ptr != end || !std::isfinite(v)) return text;
  char buf[64];
  auto out = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  return std::string(buf, out.ptr);
}

// "AB12" -> column 27 (0-based), row 11 (0-based); false when malformed.
bool ParseRef(const char* ref, size_t& col, size_t& row) {
  col = 0, row = 0;
  size_t i = 0, letters = 0, digits = 0;
  for (; ref[i] >= 'A' && ref[i] <= 'Z' && letters < 4; ++i, ++letters) col = col * 26 + static_cast<size_t>(ref[i] - 'A' + 1);
  for (; ref[i] >= '0' && ref[i] <= '9' && digits < 8; ++i, ++digits) row = row * 10 + static_cast<size_t>(ref[i] - '0');
  if (ref[i] != '\0' || letters == 0 || digits == 0 || row == 0) return false;
  --col, --row;
  return true;
}

std::string RichText(pugi::xml_node si) {
  std::string text;
  for (pugi::xml_node node : si.children()) {
    if (std::string(node.name()) == "t") text += node.text().get();
    else if (std::string(node.name()) == "r") text += node.child("t").text().get();
  }
  return text;
}

}  // namespace

std::string WriteXlsx(const Workbook& book) {
  std::vector<std::pair<std::string, std::string>> parts;
  std::map<std::string, size_t> index;
  std::vector<std::string> strings;
  size_t total = 0;

  {
    auto doc = NewDocument();
    auto types = doc.append_child("Types");
    types.append_attribute("xmlns") = "http://schemas.openxmlformats.org/package/2006/content-types";
    auto def = [&](const char* ext, const char* type) {
      auto d = types.append_child("Default");
      d.append_attribute("Extension") = ext;
      d.append_attribute("ContentType") = type;
    };
    def("rels", "application/vnd.openxmlformats-package.relationships+xml");
    def("xml", "application/xml");
    auto over = [&](const std::string& part, const char* type) {
      auto o = types.append_child("Override");
      o.append_attribute("PartName") = part.c_str();
      o.append_attribute("ContentType") = type;
    };
    over("/xl/workbook.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    for (size_t i = 0; i < book.sheets.size(); ++i)
      over("/xl/worksheets/sheet" + std::to_string(i + 1) + ".xml",
           "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml");
    over("/xl/sharedStrings.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml");
    over("/xl/styles.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    over("/docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml");
    parts.emplace_back("[Content_Types].xml", XmlText(doc));
  }
  {
    auto doc = NewDocument();
    auto rels = doc.append_child("Relationships");
    rels.append_attribute("xmlns") = kPkgRelNs;
    auto rel = [&](const char* id, const char* type, const char* target) {
      auto r = rels.append_child("Relationship");
      r.append_attribute("Id") = id;
      r.append_attribute("Type") = type;
      r.append_attribute("Target") = target;
    };
    rel("rId1", "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument", "xl/workbook.xml");
    rel("rId2", "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties", "docProps/app.xml");
    parts.emplace_back("_rels/.rels", XmlText(doc));
  }
  {
    auto doc = NewDocument();
    auto props = doc.append_child("Properties");
    props.append_attribute("xmlns") = "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties";
    props.append_child("Application").text().set(kEngineMark);
    parts.emplace_back("docProps/app.xml", XmlText(doc));
  }
  {
    auto doc = NewDocument();
    auto wb = doc.append_child("workbook");
    wb.append_attribute("xmlns") = kMainNs;
    wb.append_attribute("xmlns:r") = kRelNs;
    auto sheets = wb.append_child("sheets");
    auto relsDoc = NewDocument();
    auto rels = relsDoc.append_child("Relationships");
    rels.append_attribute("xmlns") = kPkgRelNs;
    for (size_t i = 0; i < book.sheets.size(); ++i) {
      std::string id = "rId" + std::to_string(i + 1);
      auto s = sheets.append_child("sheet");
      s.append_attribute("name") = book.sheets[i].name.c_str();
      s.append_attribute("sheetId") = static_cast<unsigned>(i + 1);
      s.append_attribute("r:id") = id.c_str();
      auto r = rels.append_child("Relationship");
      r.append_attribute("Id") = id.c_str();
      r.append_attribute("Type") = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
      r.append_attribute("Target") = ("worksheets/sheet" + std::to_string(i + 1) + ".xml").c_str();
    }
    size_t n = book.sheets.size();
    auto rel = [&](const char* type, const char* target, size_t k) {
      auto r = rels.append_child("Relationship");
      r.append_attribute("Id") = ("rId" + std::to_string(k)).c_str();
      r.append_attribute("Type") = type;
      r.append_attribute("Target") = target;
    };
    rel("http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings", "sharedStrings.xml", n + 1);
    rel("http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles", "styles.xml", n + 2);
    parts.emplace_back("xl/workbook.xml", XmlText(doc));
    parts.emplace_back("xl/_rels/workbook.xml.rels", XmlText(relsDoc));
  }
  for (size_t i = 0; i < book.sheets.size(); ++i) {
    const Sheet& sheet = book.sheets[i];
    auto doc = NewDocument();
    auto ws = doc.append_child("worksheet");
    ws.append_attribute("xmlns") = kMainNs;
    auto data = ws.append_child("sheetData");
    for (size_t r = 0; r < sheet.rows.size(); ++r) {
      pugi::xml_node row;
      for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
        const std::string& text = sheet.rows[r][c];
        if (text.empty()) continue;
        if (r >= kMaxRows || c >= kMaxColumns) throw CSheetDbError("sheet '" + sheet.name + "' is larger than a sheet may be");
        if (!row) {
          row = data.append_child("row");
          row.append_attribute("r") = static_cast<unsigned>(r + 1);
        }
        auto [it, added] = index.emplace(text, strings.size());
        if (added) strings.push_back(text);
        ++total;
        auto cell = row.append_child("c");
        cell.append_attribute("r") = (ColumnName(c) + std::to_string(r + 1)).c_str();
        cell.append_attribute("t") = "s";
        cell.append_child("v").text().set(static_cast<unsigned long long>(it->second));
      }
    }
    parts.emplace_back("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml", XmlText(doc));
  }
  {
    auto doc = NewDocument();
    auto sst = doc.append_child("sst");
    sst.append_attribute("xmlns") = kMainNs;
    sst.append_attribute("count") = static_cast<unsigned long long>(total);
    sst.append_attribute("uniqueCount") = static_cast<unsigned long long>(strings.size());
    for (const auto& s : strings) SetText(sst.append_child("si").append_child("t"), s);
    parts.emplace_back("xl/sharedStrings.xml", XmlText(doc));
  }
  parts.emplace_back("xl/styles.xml",
                     std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>") + "<styleSheet xmlns=\"" +
                         kMainNs +
                         "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"宋体\"/><charset val=\"134\"/></font></fonts>"
                         "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
                         "patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border><left/><right/><top/>"
                         "<bottom/><diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" "
                         "fillId=\"0\" borderId=\"0\"/></cellStyleXfs><cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" "
                         "fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs><cellStyles count=\"1\"><cellStyle "
                         "name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>");

  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!memory) throw CSheetDbError("the .xlsx package could not be composed");
  zip_source_keep(memory);
  std::unique_ptr<zip_source_t, decltype(&zip_source_free)> holder(memory, &zip_source_free);
  zip_t* archive = zip_open_from_source(memory, ZIP_TRUNCATE, &error);
  if (!archive) throw CSheetDbError("the .xlsx package could not be composed");
  for (const auto& [name, data] : parts) {
    zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
    if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      if (source) zip_source_free(source);
      zip_discard(archive);
      throw CSheetDbError("the .xlsx package could not be composed");
    }
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    throw CSheetDbError("the .xlsx package could not be composed");
  }
  std::string bytes;
  if (zip_source_open(memory) == 0) {
    char buf[65536];
    zip_int64_t got;
    while ((got = zip_source_read(memory, buf, sizeof buf)) > 0) bytes.append(buf, static_cast<size_t>(got));
    zip_source_close(memory);
  }
  if (bytes.empty()) throw CSheetDbError("the .xlsx package could not be composed");
  return bytes;
}

Workbook ReadXlsx(const std::string& bytes, const std::string& what) {
  auto fail = [&](const std::string& why) -> CSheetDbError {
    return CSheetDbError(NotReadableMessage(what, ".xlsx", why));
  };
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (!source) throw fail("it cannot be read");
  ZipReader zip;
  zip.archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (!zip.archive) {
    zip_source_free(source);
    std::string why = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw fail(why);
  }
  CReadBudget budget(what);
  auto part = [&](const std::string& name, bool required) -> std::string {
    zip_stat_t st;
    if (zip_stat(zip.archive, name.c_str(), 0, &st) != 0) {
      if (required) throw fail("it has no part " + name);
      return {};
    }
    // The size the package states is checked first, the bytes read as well,
    // for a package may state less than it holds.
    if (st.valid & ZIP_STAT_SIZE) budget.PartBytes(static_cast<size_t>(st.size));
    zip_file_t* file = zip_fopen(zip.archive, name.c_str(), 0);
    if (!file) throw fail("its part " + name + " cannot be read");
    std::string data;
    char buf[65536];
    zip_int64_t got;
    while ((got = zip_fread(file, buf, sizeof buf)) > 0) {
      if (data.size() + static_cast<size_t>(got) > kMaxXlsxPartBytes) {
        zip_fclose(file);
        budget.PartBytes(data.size() + static_cast<size_t>(got));
      }
      data.append(buf, static_cast<size_t>(got));
    }
    bool bad = got < 0;
    zip_fclose(file);
    if (bad) throw fail("its part " + name + " is damaged");
    return data;
  };
  auto parse = [&](const std::string& name, pugi::xml_document& doc, bool required) {
    std::string data = part(name, required);
    if (data.empty() && !required) return false;
    if (!doc.load_buffer(data.data(), data.size())) throw fail("its part " + name + " is not well-formed XML");
    return true;
  };

  Workbook book;
  pugi::xml_document app;
  if (parse("docProps/app.xml", app, false))
    book.writtenByEngine = std::string(app.child("Properties").child_value("Application")) == kEngineMark;

  std::vector<std::string> strings;
  pugi::xml_document sst;
  if (parse("xl/sharedStrings.xml", sst, false))
    for (pugi::xml_node si : sst.child("sst").children("si")) {
      strings.push_back(RichText(si));
      budget.SharedCharacters(TextLength(strings.back()) + 1);
    }

  pugi::xml_document rels, wb;
  parse("xl/_rels/workbook.xml.rels", rels, true);
  parse("xl/workbook.xml", wb, true);
  std::map<std::string, std::string> targets;
  for (pugi::xml_node r : rels.child("Relationships").children("Relationship")) {
    std::string target = r.attribute("Target").value();
    target = target.rfind('/', 0) == 0 ? target.substr(1) : "xl/" + target;
    targets[r.attribute("Id").value()] = target;
  }
  for (pugi::xml_node s : wb.child("workbook").child("sheets").children("sheet")) {
    Sheet sheet;
    sheet.name = s.attribute("name").value();
    auto it = targets.find(s.attribute("r:id").value());
    if (it == targets.end()) throw fail("sheet '" + sheet.name + "' has no part");
    pugi::xml_document ws;
    parse(it->second, ws, true);
    size_t nextRow = 0;
    for (pugi::xml_node row : ws.child("worksheet").child("sheetData").children("row")) {
      size_t r = row.attribute("r") ? row.attribute("r").as_ullong() - 1 : nextRow;
      size_t nextCol = 0;
      for (pugi::xml_node c : row.children("c")) {
        size_t col = nextCol, cellRow = r;
        if (c.attribute("r") && !ParseRef(c.attribute("r").value(), col, cellRow)) throw fail("a cell reference is malformed");
        nextCol = col + 1;
        std::string type = c.attribute("t").value();
        std::string value;
        if (type == "s") {
          size_t i = c.child("v").text().as_ullong(~0ull);
          if (i >= strings.size()) throw fail("a cell refers to a shared string that does not exist");
          value = strings[i];
        } else if (type == "inlineStr") {
          value = RichText(c.child("is"));
        } else if (type == "b") {
          value = c.child("v").text().as_int() ? "TRUE" : "FALSE";
        } else if (type == "str" || type == "e") {
          value = c.child_value("v");
        } else if (c.child("v")) {
          value = NumberText(c.child_value("v"));
        }
        if (value.empty()) continue;
        if (cellRow >= kMaxRows || col >= kMaxColumns)
          throw fail("sheet '" + sheet.name + "' holds cells beyond IV65536, which cannot be kept");
        if (sheet.rows.size() <= cellRow) budget.Cells(cellRow + 1 - sheet.rows.size());
        const size_t had = sheet.rows.size() > cellRow ? sheet.rows[cellRow].size() : 0;
        if (had <= col) budget.Cells(col + 1 - had);
        budget.Text(value.size());
        if (sheet.rows.size() <= cellRow) sheet.rows.resize(cellRow + 1);
        if (sheet.rows[cellRow].size() <= col) sheet.rows[cellRow].resize(col + 1);
        sheet.rows[cellRow][col] = std::move(value);
      }
      nextRow = r + 1;
    }
    book.sheets.push_back(std::move(sheet));
  }
  return book;
}

}  // namespace tiecalc::sheetdb
