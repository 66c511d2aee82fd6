// .xlsx storage: an Office Open XML spreadsheet package (zip of XML parts).
// Written: the workbook, one worksheet part per sheet with its column widths,
// its texts inline and its numbers, minimal styles, and the engine's mark
// (see WriteXlsx). Read: the cells and column widths of every worksheet
// (shared and inline strings, numbers, booleans, errors, formula results as
// cached).

#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
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

struct ZipReader {
  zip_t* archive = nullptr;
  ~ZipReader() {
    if (archive) zip_discard(archive);
  }
};

// The cell of a stored number: shown with up to 15 significant digits, in
// General; a value that is no finite number stays the text it is.
Cell NumberCell(const char* text) {
  double v = 0;
  const char* end = text + std::char_traits<char>::length(text);
  auto res = std::from_chars(text, end, v);
  if (res.ec != std::errc() || res.ptr != end || !std::isfinite(v)) return Cell(text);
  char buf[64];
  auto out = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  return Cell(std::string(buf, out.ptr), v, Cell::kGeneral);
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

namespace {

// A long list in a part (a sheet's rows, the shared strings) is parsed a
// slice at a time: as one document its nodes would take several times the
// part's size. The part is parsed without the list's content into outline;
// the content is cut after an end tag of its items every megabyte or so,
// and each slice parsed as a fragment, its items handed to each. False
// when a piece is not well-formed (a slice cut inside a comment or CDATA
// section included: such a part is refused, never misread).
template <typename Each>
bool ParseInSlices(const std::string& data, const std::string& list, const std::string& item, pugi::xml_document& outline,
                   Each each) {
  size_t open = 0;
  for (;;) {
    open = data.find("<" + list, open);
    if (open == std::string::npos) return bool(outline.load_buffer(data.data(), data.size()));
    const char after = open + 1 + list.size() < data.size() ? data[open + 1 + list.size()] : '\0';
    if (std::strchr(" \t\r\n/>", after) && after != '\0') break;
    open += 1;
  }
  const size_t start = data.find('>', open);
  if (start == std::string::npos) return false;
  if (data[start - 1] == '/') return bool(outline.load_buffer(data.data(), data.size()));  // an empty list
  const size_t end = data.rfind("</" + list + ">");
  if (end == std::string::npos || end <= start) return false;
  if (!outline.load_buffer((data.substr(0, start + 1) + data.substr(end)).c_str(), start + 1 + data.size() - end)) return false;
  constexpr size_t kSlice = size_t{1} << 20;
  const std::string close = "</" + item + ">";
  pugi::xml_document slice;
  for (size_t from = start + 1; from < end;) {
    size_t to = from + kSlice >= end ? end : data.find(close, from + kSlice);
    to = to == std::string::npos || to >= end ? end : std::min(end, to + close.size());
    if (!slice.load_buffer(data.data() + from, to - from, pugi::parse_default | pugi::parse_fragment)) return false;
    for (pugi::xml_node node : slice.children(item.c_str())) each(node);
    from = to;
  }
  return true;
}

struct WorkbookCloser {
  lxw_workbook* book = nullptr;
  ~WorkbookCloser() {
    if (book) workbook_close(book);  // after a failure: only frees it
  }
};

// The library's failures in words; it prints nothing for these, and the
// calls that would make it print are not made (the texts, names and places
// are checked first).
std::string XlsxErrorWords(lxw_error e) {
  switch (e) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return "内存不足";
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE: return "临时文件无法创建或读取（临时文件夹可能已满）";
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_INTERNAL_ERROR: return "压缩包无法写成（临时文件夹可能已满）";
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED: return "超过 31 个字符";
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER: return "含有工作表名称不能含有的字符";
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE: return "以单引号开头或结尾";
    case LXW_ERROR_SHEETNAME_ALREADY_USED: return "与另一张工作表重名";
    default: return "生成时出错（错误号 " + std::to_string(static_cast<int>(e)) + "）";
  }
}

}  // namespace

// The package is written by libxlsxwriter in its constant-memory mode: each
// row goes to a temporary file as it is written, texts inline in their cells
// (no shared string table is built), number cells as numbers in the number
// format of their decimals ("0", "0.00", ...; General left unformatted).
// Each sheet's columns are as wide as their texts, its line charts beside
// its table, and the engine's mark is a custom document property (the
// application property is the library's own).
std::string WriteXlsx(const Workbook& book) {
  const auto fail = [](const std::string& why) { return CSheetDbError(CannotComposeMessage(".xlsx", why)); };
  if (const std::string why = WhyNotWritable(book); !why.empty()) throw fail(why);
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder = fs::temp_directory_path(error);
  if (error) throw fail("找不到临时文件夹");
  std::random_device random;
  const fs::path file = folder / ("tiecalc-xlsx-" + std::to_string(random()) + std::to_string(random()) + ".xlsx");
  struct Remove {
    fs::path path;
    ~Remove() {
      std::error_code ignored;
      fs::remove(path, ignored);
    }
  } remove{file};
  // The library says why it cannot create a file on the standard error;
  // whether it can is found out here first.
  if (!std::ofstream(file, std::ios::binary)) throw fail("临时文件夹无法写入");

  const std::string tmpdir = folder.string();
  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = const_cast<char*>(tmpdir.c_str());
  WorkbookCloser closer;
  closer.book = workbook_new_opt(file.string().c_str(), &options);
  if (!closer.book) throw fail(XlsxErrorWords(LXW_ERROR_MEMORY_MALLOC_FAILED));
  lxw_workbook* wb = closer.book;
  workbook_set_custom_property_string(wb, kEngineMarkProperty, kEngineMark);
  std::map<int, lxw_format*> formats;  // by decimals
  auto format = [&](int decimals) {
    lxw_format*& f = formats[decimals];
    if (!f) {
      f = workbook_add_format(wb);
      format_set_num_format(f, decimals == 0 ? "0" : ("0." + std::string(static_cast<size_t>(decimals), '0')).c_str());
    }
    return f;
  };
  const lxw_chart_line_dash_type kDashes[] = {LXW_CHART_LINE_DASH_SOLID, LXW_CHART_LINE_DASH_DASH,
                                              LXW_CHART_LINE_DASH_DASH_DOT, LXW_CHART_LINE_DASH_ROUND_DOT};
  for (const Sheet& sheet : book.sheets) {
    // A name the library refuses would be refused with a warning printed.
    if (const lxw_error e = workbook_validate_sheet_name(wb, sheet.name.c_str()); e != LXW_NO_ERROR)
      throw fail("工作表名称“" + sheet.name + "”" + XlsxErrorWords(e));
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.name.c_str());
    if (!ws) throw fail("工作表“" + sheet.name + "”无法加入");
    const std::vector<double> widths = ColumnWidths(sheet);
    for (size_t c = 0; c < widths.size(); ++c)
      if (widths[c] > 0) worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths[c], nullptr);
    size_t columns = 0;
    for (size_t r = 0; r < sheet.rows.size(); ++r) {
      for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
        const Cell& cell = sheet.rows[r][c];
        if (cell.text.empty()) continue;
        columns = std::max(columns, c + 1);
        const lxw_row_t row = static_cast<lxw_row_t>(r);
        const lxw_col_t col = static_cast<lxw_col_t>(c);
        const lxw_error e =
            !cell.IsNumber() ? worksheet_write_string(ws, row, col, cell.text.c_str(), nullptr)
            : worksheet_write_number(ws, row, col, cell.number, cell.decimals >= 0 ? format(cell.decimals) : nullptr);
        if (e != LXW_NO_ERROR) throw fail(XlsxErrorWords(e));
      }
    }
    for (const SheetLineChart& c : sheet.charts) {
      lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_LINE);
      const lxw_row_t first = static_cast<lxw_row_t>(c.firstRow), last = static_cast<lxw_row_t>(c.lastRow);
      for (size_t s = 1; s <= c.series; ++s) {
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        const lxw_col_t col = static_cast<lxw_col_t>(s);
        chart_series_set_categories(series, sheet.name.c_str(), first, 0, last, 0);
        chart_series_set_values(series, sheet.name.c_str(), first, col, last, col);
        chart_series_set_name_range(series, sheet.name.c_str(), 0, col);
        lxw_chart_line line = {};
        line.width = 1.5f;
        line.dash_type = static_cast<uint8_t>(kDashes[(s - 1) % 4]);
        chart_series_set_line(series, &line);
        chart_series_set_marker_type(series, LXW_CHART_MARKER_NONE);
      }
      chart_title_set_name(chart, "各附着杆轴力随θ变化曲线");
      chart_axis_set_name(chart->x_axis, "θ (°)");
      chart_axis_set_interval_unit(chart->x_axis, 30);
      chart_axis_set_interval_tick(chart->x_axis, 30);
      chart_axis_set_label_position(chart->x_axis, LXW_CHART_AXIS_LABEL_POSITION_LOW);
      chart_axis_set_name(chart->y_axis, "轴力 (kN)");
      lxw_chart_options place = {};
      place.x_scale = 1.6;
      place.y_scale = 1.4;
      const lxw_error e = worksheet_insert_chart_opt(ws, first > 0 ? first - 1 : 0, static_cast<lxw_col_t>(columns + 1), chart, &place);
      if (e != LXW_NO_ERROR) throw fail(XlsxErrorWords(e));
    }
  }
  const lxw_error closed = workbook_close(wb);
  closer.book = nullptr;
  if (closed != LXW_NO_ERROR) throw fail(XlsxErrorWords(closed));
  std::error_code sizeError;
  const auto size = fs::file_size(file, sizeError);
  std::ifstream in(file, std::ios::binary);
  std::string bytes(sizeError ? 0 : static_cast<size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!in || bytes.empty()) throw fail(XlsxErrorWords(LXW_ERROR_READING_TMPFILE));
  return bytes;
}

Workbook ReadXlsx(const std::string& bytes, const std::string& what) {
  auto fail = [&](const std::string& why) -> CSheetDbError {
    return CSheetDbError(NotReadableMessage(what, ".xlsx", why));
  };
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (!source) throw fail("文件无法作为压缩包读取");
  ZipReader zip;
  zip.archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (!zip.archive) {
    zip_source_free(source);
    zip_error_fini(&error);
    throw fail("不是 zip 压缩包，或压缩包已损坏");
  }
  CReadBudget budget(what);
  auto part = [&](const std::string& name, bool required) -> std::string {
    zip_stat_t st;
    if (zip_stat(zip.archive, name.c_str(), 0, &st) != 0) {
      if (required) throw fail("包中缺少部件 " + name);
      return {};
    }
    // The size the package states is checked first, the bytes read as well,
    // for a package may state less than it holds.
    if (st.valid & ZIP_STAT_SIZE) budget.PartBytes(static_cast<size_t>(st.size));
    zip_file_t* file = zip_fopen(zip.archive, name.c_str(), 0);
    if (!file) throw fail("包中的部件 " + name + " 无法读取");
    std::string data;
    // Reserved at the size stated (within the limit): a growing string would
    // hold up to three times the part while it is copied over.
    if (st.valid & ZIP_STAT_SIZE) data.reserve(static_cast<size_t>(st.size));
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
    if (bad) throw fail("包中的部件 " + name + " 已损坏");
    return data;
  };
  auto parse = [&](const std::string& name, pugi::xml_document& doc, bool required) {
    std::string data = part(name, required);
    if (data.empty() && !required) return false;
    if (!doc.load_buffer(data.data(), data.size())) throw fail("包中的部件 " + name + " 不是格式正确的 XML");
    return true;
  };

  Workbook book;
  pugi::xml_document app;
  if (parse("docProps/app.xml", app, false))
    book.writtenByEngine = std::string(app.child("Properties").child_value("Application")) == kEngineMark;
  pugi::xml_document custom;
  if (!book.writtenByEngine && parse("docProps/custom.xml", custom, false))
    for (pugi::xml_node property : custom.child("Properties").children("property"))
      if (std::string(property.attribute("name").value()) == kEngineMarkProperty &&
          std::string(property.child_value("vt:lpwstr")) == kEngineMark)
        book.writtenByEngine = true;

  // The decimals of the plain number formats ("0", "0.00", ...) by cell
  // style, so that 800 written in "0.00" reads back as 800 with two
  // decimals, shown "800.00".
  std::vector<int> styleDecimals;
  pugi::xml_document styles;
  if (parse("xl/styles.xml", styles, false)) {
    std::map<unsigned, int> formatDecimals = {{1, 0}, {2, 2}};
    for (pugi::xml_node f : styles.child("styleSheet").child("numFmts").children("numFmt")) {
      const std::string code = f.attribute("formatCode").value();
      if (code == "0") formatDecimals[f.attribute("numFmtId").as_uint()] = 0;
      if (code.size() > 2 && code.rfind("0.", 0) == 0 && code.find_first_not_of('0', 2) == std::string::npos)
        formatDecimals[f.attribute("numFmtId").as_uint()] = static_cast<int>(code.size() - 2);
    }
    for (pugi::xml_node xf : styles.child("styleSheet").child("cellXfs").children("xf")) {
      auto it = formatDecimals.find(xf.attribute("numFmtId").as_uint());
      styleDecimals.push_back(it == formatDecimals.end() ? -1 : it->second);
    }
  }

  // A large part is read a slice at a time (ParseInSlices).
  auto parseLong = [&](const std::string& name, const char* list, const char* item, pugi::xml_document& outline,
                       bool required, auto each) {
    const std::string data = part(name, required);
    if (data.empty() && !required) return;
    if (!ParseInSlices(data, list, item, outline, each)) throw fail("包中的部件 " + name + " 不是格式正确的 XML");
  };

  std::vector<std::string> strings;
  {
    pugi::xml_document outline;
    parseLong("xl/sharedStrings.xml", "sst", "si", outline, false, [&](pugi::xml_node si) {
      strings.push_back(RichText(si));
      budget.SharedCharacters(TextLength(strings.back()) + 1);
    });
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
    if (it == targets.end()) throw fail("工作表“" + sheet.name + "”在包中没有部件");
    pugi::xml_document ws;
    size_t nextRow = 0;
    parseLong(it->second, "sheetData", "row", ws, true, [&](pugi::xml_node row) {
      size_t r = row.attribute("r") ? row.attribute("r").as_ullong() - 1 : nextRow;
      size_t nextCol = 0;
      for (pugi::xml_node c : row.children("c")) {
        size_t col = nextCol, cellRow = r;
        if (c.attribute("r") && !ParseRef(c.attribute("r").value(), col, cellRow)) throw fail("有一个单元格地址格式不对");
        nextCol = col + 1;
        std::string type = c.attribute("t").value();
        Cell value;
        if (type == "s") {
          size_t i = c.child("v").text().as_ullong(~0ull);
          if (i >= strings.size()) throw fail("有单元格引用了不存在的共享文字");
          value = strings[i];
        } else if (type == "inlineStr") {
          value = RichText(c.child("is"));
        } else if (type == "b") {
          value = c.child("v").text().as_int() ? "TRUE" : "FALSE";
        } else if (type == "str" || type == "e") {
          value = c.child_value("v");
        } else if (c.child("v")) {
          // A number stays a number, with the decimals of its style where
          // that is a plain number format.
          value = NumberCell(c.child_value("v"));
          const size_t style = c.attribute("s").as_uint();
          if (value.IsNumber() && style < styleDecimals.size() && styleDecimals[style] >= 0 &&
              std::fabs(value.number) < 1e15) {
            char text[64];
            std::snprintf(text, sizeof text, "%.*f", styleDecimals[style], value.number);
            value = Cell(text, value.number, styleDecimals[style]);
          }
        }
        if (value.text.empty()) continue;
        if (cellRow >= kMaxRows || col >= kMaxColumns)
          throw fail("工作表“" + sheet.name + "”有超出 IV65536 的单元格，无法保留");
        if (sheet.rows.size() <= cellRow) budget.Cells(cellRow + 1 - sheet.rows.size());
        const size_t had = sheet.rows.size() > cellRow ? sheet.rows[cellRow].size() : 0;
        if (had <= col) budget.Cells(col + 1 - had);
        budget.Text(value.text.size());
        if (sheet.rows.size() <= cellRow) sheet.rows.resize(cellRow + 1);
        if (sheet.rows[cellRow].size() <= col) sheet.rows[cellRow].resize(col + 1);
        sheet.rows[cellRow][col] = std::move(value);
      }
      nextRow = r + 1;
    });
    // Widths as stored include the padding of a cell (5 pixels of a 7-pixel
    // digit), which the writer adds again; rounded up to whole pixels, so
    // that a rewrite keeps them at least as wide.
    for (pugi::xml_node col : ws.child("worksheet").child("cols").children("col")) {
      const size_t first = col.attribute("min").as_uint(), last = std::min<size_t>(col.attribute("max").as_uint(), kMaxColumns);
      const double stored = col.attribute("width").as_double();
      if (first == 0 || first > last || !(stored > 0 && stored <= 255)) continue;
      const double width = std::ceil(std::max(0.0, stored * 7 - 5) - 1e-9) / 7;
      if (sheet.columnWidths.size() < last) sheet.columnWidths.resize(last);
      for (size_t c = first - 1; c < last; ++c) sheet.columnWidths[c] = width;
    }
    book.sheets.push_back(std::move(sheet));
  }
  return book;
}

}  // namespace tiecalc::sheetdb
