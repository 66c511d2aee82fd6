#pragma once
// What the workbook tests share: a scratch folder, and an independent reader
// of what we write (python's xlrd for .xls, zipfile and xml for .xlsx).

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Portable.h"

namespace tiecalc::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() / ("tiecalc-sheet-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(m_path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string Path(const std::string& name = "") const { return Utf8FromPath(m_path / PathFromUtf8(name)); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary);
  out << bytes;
}

// Runs python code (given as a file) with arguments; its standard output.
inline std::string RunPython(const std::string& code, const std::vector<std::string>& args, int* status = nullptr) {
  ScratchFolder scratch;
  WriteBytes(scratch.Path("code.py"), code);
  std::vector<std::string> command{"/usr/bin/python3", scratch.Path("code.py")};
  command.insert(command.end(), args.begin(), args.end());
  const portable::ProcessResult run = portable::RunProcess(command, scratch.Path("out"), scratch.Path("err"));
  if (status) *status = run.status;
  return run.out;
}

struct ReadSheet {
  std::string name;
  std::vector<std::vector<std::string>> rows;  // trailing empty cells dropped
};

// Every sheet of the workbook at path as an independent reader sees it:
// xlrd for .xls, zipfile and ElementTree for .xlsx. Throws when it cannot.
inline std::vector<ReadSheet> ReadBack(const std::string& path) {
  static const char* kCode = R"PY(
import sys
path = sys.argv[1]
def esc(s):
    return s.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n').replace('\r', '\\r')
def text(v):
    if isinstance(v, float) and v == int(v):
        return str(int(v))
    return str(v)
out = []
if path.lower().endswith('.xlsx'):
    import zipfile, re
    import xml.etree.ElementTree as ET
    ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main',
          'r': 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'}
    z = zipfile.ZipFile(path)
    shared = []
    if 'xl/sharedStrings.xml' in z.namelist():
        for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', ns):
            shared.append(''.join(t.text or '' for t in si.iter('{%s}t' % ns['m'])))
    rels = {r.get('Id'): r.get('Target') for r in ET.fromstring(z.read('xl/_rels/workbook.xml.rels'))}
    for s in ET.fromstring(z.read('xl/workbook.xml')).find('m:sheets', ns):
        target = rels[s.get('{%s}id' % ns['r'])].lstrip('/')
        if not target.startswith('xl/'):
            target = 'xl/' + target
        rows = {}
        for c in ET.fromstring(z.read(target)).iter('{%s}c' % ns['m']):
            ref = c.get('r')
            m = re.match(r'([A-Z]+)([0-9]+)', ref)
            col = 0
            for ch in m.group(1):
                col = col * 26 + ord(ch) - 64
            v = c.find('m:v', ns)
            t = c.get('t')
            if t == 's':
                val = shared[int(v.text)]
            elif t == 'inlineStr':
                val = ''.join(x.text or '' for x in c.iter('{%s}t' % ns['m']))
            else:
                val = v.text if v is not None else ''
            rows.setdefault(int(m.group(2)) - 1, {})[col - 1] = val
        out.append('S\t' + esc(s.get('name')))
        for r in range(max(rows) + 1 if rows else 0):
            cells = rows.get(r, {})
            line = [cells.get(c, '') for c in range(max(cells) + 1 if cells else 0)]
            out.append('R' + ''.join('\t' + esc(x) for x in line))
else:
    import xlrd
    book = xlrd.open_workbook(path)
    for sh in book.sheets():
        out.append('S\t' + esc(sh.name))
        for r in range(sh.nrows):
            line = [text(v) for v in sh.row_values(r)]
            while line and line[-1] == '':
                line.pop()
            out.append('R' + ''.join('\t' + esc(x) for x in line))
sys.stdout.write('\n'.join(out) + '\nEND\n')
)PY";
  int status = 0;
  std::string out = RunPython(kCode, {path}, &status);
  if (status != 0 || out.size() < 4 || out.substr(out.size() - 4) != "END\n")
    throw std::runtime_error("the independent reader could not read " + path);
  auto unescape = [](const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\\' && i + 1 < s.size()) {
        char c = s[++i];
        r += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
      } else {
        r += s[i];
      }
    }
    return r;
  };
  std::vector<ReadSheet> sheets;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line) && line != "END") {
    if (line.rfind("S\t", 0) == 0) {
      sheets.push_back({unescape(line.substr(2)), {}});
    } else if (!line.empty() && line[0] == 'R' && !sheets.empty()) {
      std::vector<std::string> cells;
      size_t at = 1;
      while (at < line.size()) {
        size_t next = line.find('\t', at + 1);
        cells.push_back(unescape(line.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1)));
        at = next == std::string::npos ? line.size() : next;
      }
      sheets.back().rows.push_back(cells);
    }
  }
  return sheets;
}

// The texts of rows of cells (a number as the text it shows), as our own
// readers give them.
template <typename Rows>
std::vector<std::vector<std::string>> TextsOf(const Rows& rows) {
  std::vector<std::vector<std::string>> texts;
  for (const auto& row : rows) texts.emplace_back(row.begin(), row.end());
  return texts;
}

inline const ReadSheet* FindSheet(const std::vector<ReadSheet>& sheets, const std::string& name) {
  for (const auto& s : sheets)
    if (s.name == name) return &s;
  return nullptr;
}

}  // namespace tiecalc::testing
