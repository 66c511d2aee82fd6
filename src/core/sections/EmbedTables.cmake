# Writes OUTPUT, a C++ source that holds the section tables as byte arrays and
# defines tiecalc::EmbeddedTable over them. TABLES lists the CSV files in the
# order of SectionFamily. Run with cmake -P at build time.
set(arrays "")
set(cases "")
set(index 0)
foreach(table ${TABLES})
  file(READ ${table} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kTable${index}[] = {${bytes}0};\n")
  string(APPEND cases "    case ${index}: return {reinterpret_cast<const char*>(kTable${index}), ${size}};\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp "// Generated from resources/sections by EmbedTables.cmake: do not edit.
#include \"core/sections/SteelSection.h\"

namespace tiecalc {
namespace {
${arrays}}  // namespace

std::string_view EmbeddedTable(SectionFamily family) {
  switch (static_cast<int>(family)) {
${cases}  }
  return {};
}

}  // namespace tiecalc
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
