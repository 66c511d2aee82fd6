#include "platform/word/WordDocument.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/word/OoxmlNamespaces.h"
#include "platform/word/WordError.h"

namespace tiecalc {

namespace {

constexpr const char* kNsW = ooxml::kWordMain;
constexpr const char* kNsR = ooxml::kOfficeRelationships;
constexpr const char* kNsWp = ooxml::kWordDrawing;
constexpr const char* kNsMc = ooxml::kMarkupCompatibility;
constexpr const char* kRelTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kContentTypesPart = "[Content_Types].xml";

// ---- the parts of a blank document -------------------------------------

const char* const kBlankContentTypes =
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Default Extension="png" ContentType="image/png"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(<Override PartName="/word/settings.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"/>)"
    R"(</Types>)";

const char* const kBlankPackageRelations =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

const char* const kBlankDocumentRelations =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings" Target="settings.xml"/>)"
    R"(</Relationships>)";

// A4, margins of 2.54 cm top and bottom and 3.17 cm left and right, a line
// grid for CJK text.
const char* const kBlankDocument =
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")"
    R"( xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math")"
    R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing")"
    R"( xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main")"
    R"( xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture">)"
    R"(<w:body><w:p/><w:sectPr>)"
    R"(<w:pgSz w:w="11906" w:h="16838"/>)"
    R"(<w:pgMar w:top="1440" w:right="1800" w:bottom="1440" w:left="1800" w:header="851" w:footer="992" w:gutter="0"/>)"
    R"(<w:cols w:space="425"/><w:docGrid w:type="lines" w:linePitch="312"/>)"
    R"(</w:sectPr></w:body></w:document>)";

// Latin text in a serif face, CJK text in 宋体, 10.5 pt.
const char* const kBlankStyles =
    R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:docDefaults><w:rPrDefault><w:rPr>)"
    R"(<w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="宋体" w:cs="Times New Roman"/>)"
    R"(<w:kern w:val="2"/><w:sz w:val="21"/><w:szCs w:val="24"/>)"
    R"(<w:lang w:val="en-US" w:eastAsia="zh-CN" w:bidi="ar-SA"/>)"
    R"(</w:rPr></w:rPrDefault><w:pPrDefault/></w:docDefaults>)"
    R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:qFormat/>)"
    R"(<w:pPr><w:widowControl w:val="0"/></w:pPr></w:style>)"
    R"(<w:style w:type="character" w:default="1" w:styleId="DefaultParagraphFont"><w:name w:val="Default Paragraph Font"/><w:uiPriority w:val="1"/><w:semiHidden/></w:style>)"
    R"(<w:style w:type="table" w:default="1" w:styleId="TableNormal"><w:name w:val="Normal Table"/><w:semiHidden/>)"
    R"(<w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar><w:top w:w="0" w:type="dxa"/><w:left w:w="108" w:type="dxa"/>)"
    R"(<w:bottom w:w="0" w:type="dxa"/><w:right w:w="108" w:type="dxa"/></w:tblCellMar></w:tblPr></w:style>)"
    R"(</w:styles>)";

const char* const kBlankSettings =
    R"(<w:settings xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:zoom w:percent="100"/><w:defaultTabStop w:val="420"/>)"
    R"(<w:characterSpacingControl w:val="compressPunctuation"/>)"
    R"(<w:compat><w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/office/word" w:val="15"/></w:compat>)"
    R"(</w:settings>)";

// ---- the outline: numbered headings and a table of contents ---------------

constexpr const char* kNumberingPart = "word/numbering.xml";

// Headings 1..3 in bold 黑体, numbered "1", "1.1", "1.1.1" by the list of
// kOutlineNumbering, each with an outline level and kept with what follows.
// The table of contents' title and its entries: right-aligned page numbers
// after a dot leader at the text's right edge (the tab position is put in
// where "TAB" stands).
const char* const kOutlineStyles =
    R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:style w:type="paragraph" w:styleId="Heading1"><w:name w:val="heading 1"/><w:basedOn w:val="Normal"/>)"
    R"(<w:next w:val="Normal"/><w:uiPriority w:val="9"/><w:qFormat/><w:pPr><w:keepNext/><w:keepLines/>)"
    R"(<w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr><w:spacing w:before="340" w:after="200"/>)"
    R"(<w:outlineLvl w:val="0"/></w:pPr><w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="黑体"/>)"
    R"(<w:b/><w:bCs/><w:kern w:val="44"/><w:sz w:val="36"/><w:szCs w:val="36"/></w:rPr></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="Heading2"><w:name w:val="heading 2"/><w:basedOn w:val="Normal"/>)"
    R"(<w:next w:val="Normal"/><w:uiPriority w:val="9"/><w:unhideWhenUsed/><w:qFormat/><w:pPr><w:keepNext/><w:keepLines/>)"
    R"(<w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/></w:numPr><w:spacing w:before="260" w:after="120"/>)"
    R"(<w:outlineLvl w:val="1"/></w:pPr><w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="黑体"/>)"
    R"(<w:b/><w:bCs/><w:sz w:val="32"/><w:szCs w:val="32"/></w:rPr></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="Heading3"><w:name w:val="heading 3"/><w:basedOn w:val="Normal"/>)"
    R"(<w:next w:val="Normal"/><w:uiPriority w:val="9"/><w:unhideWhenUsed/><w:qFormat/><w:pPr><w:keepNext/><w:keepLines/>)"
    R"(<w:numPr><w:ilvl w:val="2"/><w:numId w:val="1"/></w:numPr><w:spacing w:before="200" w:after="100"/>)"
    R"(<w:outlineLvl w:val="2"/></w:pPr><w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="黑体"/>)"
    R"(<w:b/><w:bCs/><w:sz w:val="28"/><w:szCs w:val="28"/></w:rPr></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="TOCHeading"><w:name w:val="TOC Heading"/><w:basedOn w:val="Normal"/>)"
    R"(<w:next w:val="Normal"/><w:uiPriority w:val="39"/><w:unhideWhenUsed/><w:qFormat/><w:pPr><w:keepNext/>)"
    R"(<w:spacing w:before="240" w:after="240"/><w:jc w:val="center"/></w:pPr>)"
    R"(<w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="黑体"/>)"
    R"(<w:b/><w:bCs/><w:sz w:val="36"/><w:szCs w:val="36"/></w:rPr></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="TOC1"><w:name w:val="toc 1"/><w:basedOn w:val="Normal"/><w:next w:val="Normal"/>)"
    R"(<w:uiPriority w:val="39"/><w:unhideWhenUsed/><w:pPr><w:tabs><w:tab w:val="right" w:leader="dot" w:pos="TAB"/></w:tabs>)"
    R"(<w:spacing w:before="120" w:after="60"/></w:pPr><w:rPr><w:b/><w:bCs/><w:sz w:val="28"/><w:szCs w:val="28"/></w:rPr></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="TOC2"><w:name w:val="toc 2"/><w:basedOn w:val="Normal"/><w:next w:val="Normal"/>)"
    R"(<w:uiPriority w:val="39"/><w:unhideWhenUsed/><w:pPr><w:tabs><w:tab w:val="right" w:leader="dot" w:pos="TAB"/></w:tabs>)"
    R"(<w:spacing w:after="60"/><w:ind w:left="480"/></w:pPr><w:rPr><w:sz w:val="24"/><w:szCs w:val="24"/></w:rPr></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="TOC3"><w:name w:val="toc 3"/><w:basedOn w:val="Normal"/><w:next w:val="Normal"/>)"
    R"(<w:uiPriority w:val="39"/><w:unhideWhenUsed/><w:pPr><w:tabs><w:tab w:val="right" w:leader="dot" w:pos="TAB"/></w:tabs>)"
    R"(<w:spacing w:after="60"/><w:ind w:left="960"/></w:pPr><w:rPr><w:sz w:val="24"/><w:szCs w:val="24"/></w:rPr></w:style>)"
    R"(</w:styles>)";

// One list of three levels bound to the heading styles; a level's number
// names those above it, in Arabic digits, followed by a space.
const char* const kOutlineNumbering =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<w:numbering xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:abstractNum w:abstractNumId="0"><w:multiLevelType w:val="multilevel"/>)"
    R"(<w:lvl w:ilvl="0"><w:start w:val="1"/><w:numFmt w:val="decimal"/><w:pStyle w:val="Heading1"/>)"
    R"(<w:suff w:val="space"/><w:lvlText w:val="%1"/><w:lvlJc w:val="left"/><w:pPr><w:ind w:left="0" w:firstLine="0"/></w:pPr></w:lvl>)"
    R"(<w:lvl w:ilvl="1"><w:start w:val="1"/><w:numFmt w:val="decimal"/><w:pStyle w:val="Heading2"/><w:isLgl/>)"
    R"(<w:suff w:val="space"/><w:lvlText w:val="%1.%2"/><w:lvlJc w:val="left"/><w:pPr><w:ind w:left="0" w:firstLine="0"/></w:pPr></w:lvl>)"
    R"(<w:lvl w:ilvl="2"><w:start w:val="1"/><w:numFmt w:val="decimal"/><w:pStyle w:val="Heading3"/><w:isLgl/>)"
    R"(<w:suff w:val="space"/><w:lvlText w:val="%1.%2.%3"/><w:lvlJc w:val="left"/><w:pPr><w:ind w:left="0" w:firstLine="0"/></w:pPr></w:lvl>)"
    R"(</w:abstractNum><w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num></w:numbering>)";


// ---- XML helpers ---------------------------------------------------------

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

std::string ToXml(const pugi::xml_document& document) {
  struct Writer : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override {
      out.append(static_cast<const char*>(data), size);
    }
  } writer;
  writer.out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
  document.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return writer.out;
}

void ParseXml(pugi::xml_document& document, const std::string& text, const std::string& what) {
  const pugi::xml_parse_result result = document.load_buffer(text.data(), text.size(), kParseOptions);
  if (!result) throw WordError(what + " 不是有效的 XML: " + result.description());
}

bool Is(pugi::xml_node node, const char* name) {
  return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// The child of the given name, created at its place in the schema's order of
// children when missing.
pugi::xml_node OrderedChild(pugi::xml_node parent, const char* name,
                            const std::vector<const char*>& order) {
  if (pugi::xml_node existing = parent.child(name)) return existing;
  auto rank = [&](const char* n) {
    for (size_t i = 0; i < order.size(); ++i)
      if (std::strcmp(order[i], n) == 0) return static_cast<int>(i);
    return -1;
  };
  const int mine = rank(name);
  for (pugi::xml_node child : parent.children())
    if (child.type() == pugi::node_element && rank(child.name()) > mine)
      return parent.insert_child_before(name, child);
  return parent.append_child(name);
}

const std::vector<const char*> kParagraphPropertyOrder = {
    "w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:framePr", "w:widowControl",
    "w:numPr", "w:suppressLineNumbers", "w:pBdr", "w:shd", "w:tabs", "w:suppressAutoHyphens",
    "w:kinsoku", "w:wordWrap", "w:overflowPunct", "w:topLinePunct", "w:autoSpaceDE",
    "w:autoSpaceDN", "w:bidi", "w:adjustRightInd", "w:snapToGrid", "w:spacing", "w:ind",
    "w:contextualSpacing", "w:mirrorIndents", "w:suppressOverlap", "w:jc", "w:textDirection",
    "w:textAlignment", "w:textboxTightWrap", "w:outlineLvl", "w:divId", "w:cnfStyle", "w:rPr",
    "w:sectPr", "w:pPrChange"};

const std::vector<const char*> kSectionPropertyOrder = {
    "w:headerReference", "w:footerReference", "w:footnotePr", "w:endnotePr", "w:type", "w:pgSz",
    "w:pgMar", "w:paperSrc", "w:pgBorders", "w:lnNumType", "w:pgNumType", "w:cols", "w:formProt",
    "w:vAlign", "w:noEndnote", "w:titlePg", "w:textDirection", "w:bidi", "w:rtlGutter",
    "w:docGrid", "w:printerSettings", "w:sectPrChange"};

const std::vector<const char*> kRunPropertyOrder = {
    "w:rStyle", "w:rFonts", "w:b", "w:bCs", "w:i", "w:iCs", "w:caps", "w:smallCaps", "w:strike",
    "w:dstrike", "w:outline", "w:shadow", "w:emboss", "w:imprint", "w:noProof", "w:snapToGrid",
    "w:vanish", "w:webHidden", "w:color", "w:spacing", "w:w", "w:kern", "w:position", "w:sz",
    "w:szCs", "w:highlight", "w:u", "w:effect", "w:bdr", "w:shd", "w:fitText", "w:vertAlign",
    "w:rtl", "w:cs", "w:em", "w:lang", "w:eastAsianLayout", "w:specVanish", "w:oMath"};

// The w:pPr of a paragraph, first child as the schema wants it.
pugi::xml_node ParagraphProperties(pugi::xml_node paragraph) {
  if (pugi::xml_node existing = paragraph.child("w:pPr")) return existing;
  return paragraph.prepend_child("w:pPr");
}

// ---- formatting ------------------------------------------------------------

constexpr const char* kAlignmentNames[] = {"left", "center", "right", "both"};

std::string ColorHex(uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFFu);
  return text;
}

void SetVal(pugi::xml_node node, const std::string& value) {
  pugi::xml_attribute attribute = node.attribute("w:val");
  if (!attribute) attribute = node.append_attribute("w:val");
  attribute.set_value(value.c_str());
}

void SetToggle(pugi::xml_node rPr, const char* name, const char* complexName, bool on) {
  for (const char* n : {name, complexName}) {
    pugi::xml_node node = OrderedChild(rPr, n, kRunPropertyOrder);
    node.remove_attribute("w:val");
    if (!on) node.append_attribute("w:val") = "0";
  }
}

// Writes the set fields of format into a w:rPr, keeping what else it holds.
void WriteRunProperties(pugi::xml_node rPr, const RunFormat& format) {
  if (format.font) {
    pugi::xml_node fonts = OrderedChild(rPr, "w:rFonts", kRunPropertyOrder);
    for (const char* slot : {"w:ascii", "w:hAnsi", "w:eastAsia", "w:cs"}) {
      fonts.remove_attribute(slot);
      fonts.append_attribute(slot) = format.font->c_str();
    }
    // A theme font would win over the names just set.
    for (const char* theme : {"w:asciiTheme", "w:hAnsiTheme", "w:eastAsiaTheme", "w:cstheme"})
      fonts.remove_attribute(theme);
  }
  if (format.bold) SetToggle(rPr, "w:b", "w:bCs", *format.bold);
  if (format.italic) SetToggle(rPr, "w:i", "w:iCs", *format.italic);
  if (format.color) SetVal(OrderedChild(rPr, "w:color", kRunPropertyOrder), ColorHex(*format.color));
  if (format.size) {
    const std::string halfPoints = std::to_string(static_cast<int>(std::lround(*format.size * 2)));
    SetVal(OrderedChild(rPr, "w:sz", kRunPropertyOrder), halfPoints);
    SetVal(OrderedChild(rPr, "w:szCs", kRunPropertyOrder), halfPoints);
  }
  if (format.underline) SetVal(OrderedChild(rPr, "w:u", kRunPropertyOrder), *format.underline ? "single" : "none");
}

// ---- package paths -------------------------------------------------------

std::string FolderOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? "" : part.substr(0, slash + 1);
}

std::string RelationsPartOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
  return FolderOf(part) + "_rels/" + name + ".rels";
}

// The part a relationship target names, seen from the folder of its source.
std::string ResolveTarget(const std::string& folder, const std::string& target) {
  std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= joined.size()) {
    const size_t slash = std::min(joined.find('/', start), joined.size());
    const std::string segment = joined.substr(start, slash - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = slash + 1;
  }
  std::string part;
  for (const std::string& segment : segments) part += (part.empty() ? "" : "/") + segment;
  return part;
}

std::string TargetFrom(const std::string& folder, const std::string& part) {
  if (!folder.empty() && part.compare(0, folder.size(), folder) == 0) return part.substr(folder.size());
  return "/" + part;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ExtensionOf(const std::string& part) {
  const size_t dot = part.rfind('.');
  const size_t slash = part.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return Lower(part.substr(dot + 1));
}

// The main part named by the package relationships.
std::string MainPartOf(const PackageParts& parts, const std::string& name) {
  auto relations = parts.find("_rels/.rels");
  if (relations == parts.end()) throw WordError("文档 " + name + " 不是 Word 文档(缺少 _rels/.rels)");
  pugi::xml_document xml;
  ParseXml(xml, relations->second, name + " 的 _rels/.rels");
  for (pugi::xml_node relation : xml.child("Relationships").children("Relationship")) {
    const std::string type = relation.attribute("Type").value();
    if (type.size() >= 15 && type.compare(type.size() - 15, 15, "/officeDocument") == 0)
      return ResolveTarget("", relation.attribute("Target").value());
  }
  throw WordError("文档 " + name + " 不是 Word 文档(没有主文档部件)");
}

pugi::xml_node FindRelation(const pugi::xml_document& relations, const std::string& id) {
  return relations.child("Relationships").find_child_by_attribute("Relationship", "Id", id.c_str());
}

// A relationship under the first free id "rIdN"; that id.
std::string AppendRelation(pugi::xml_document& relations, const std::string& type, const std::string& target,
                           bool external) {
  pugi::xml_node root = relations.child("Relationships");
  int number = 1;
  while (FindRelation(relations, "rId" + std::to_string(number))) ++number;
  const std::string id = "rId" + std::to_string(number);
  pugi::xml_node relation = root.append_child("Relationship");
  relation.append_attribute("Id") = id.c_str();
  relation.append_attribute("Type") = type.c_str();
  relation.append_attribute("Target") = target.c_str();
  if (external) relation.append_attribute("TargetMode") = "External";
  return id;
}

// The content type a package declares for one of its parts, if any.
std::string ContentTypeOf(const pugi::xml_document& types, const std::string& part) {
  pugi::xml_node root = types.child("Types");
  const std::string name = "/" + part;
  for (pugi::xml_node override : root.children("Override"))
    if (Lower(override.attribute("PartName").value()) == Lower(name))
      return override.attribute("ContentType").value();
  const std::string extension = ExtensionOf(part);
  for (pugi::xml_node def : root.children("Default"))
    if (Lower(def.attribute("Extension").value()) == extension) return def.attribute("ContentType").value();
  return "";
}

// The prefix a root element binds to uri, or "" when none.
std::string PrefixOf(pugi::xml_node root, const char* uri) {
  for (pugi::xml_attribute attribute : root.attributes()) {
    const std::string name = attribute.name();
    if (name.compare(0, 6, "xmlns:") == 0 && std::strcmp(attribute.value(), uri) == 0)
      return name.substr(6);
  }
  return "";
}

template <typename Visit>
void ForEachElement(pugi::xml_node node, Visit visit) {
  if (node.type() != pugi::node_element) return;
  visit(node);
  for (pugi::xml_node child : node.children()) ForEachElement(child, visit);
}

}  // namespace

void RunFormat::Merge(const RunFormat& other) {
  if (other.font) font = other.font;
  if (other.size) size = other.size;
  if (other.color) color = other.color;
  if (other.bold) bold = other.bold;
  if (other.italic) italic = other.italic;
  if (other.underline) underline = other.underline;
}

// ---- the document ---------------------------------------------------------

CWordDocument::CWordDocument() : m_mainPart("word/document.xml") {
  ParseXml(m_document, kBlankDocument, m_mainPart);
  ParseXml(m_contentTypes, kBlankContentTypes, kContentTypesPart);
  ParseXml(m_relations, kBlankDocumentRelations, RelationsPartOf(m_mainPart));
  m_parts = {{"_rels/.rels", kBlankPackageRelations},
             {"word/styles.xml", kBlankStyles},
             {"word/settings.xml", kBlankSettings}};
  m_paragraph = Body().child("w:p");
}

pugi::xml_node CWordDocument::Body() const { return m_document.first_element_by_path("w:document/w:body"); }

void CWordDocument::ReplacePartData(const std::string& current, std::string replacement) {
  for (auto& [name, data] : m_parts)
    if (data == current) {
      data = std::move(replacement);
      return;
    }
  throw WordError("文档中没有待填入的图片");
}

std::string CWordDocument::PackageBytes() const {
  const std::string document = ToXml(m_document), relations = ToXml(m_relations), types = ToXml(m_contentTypes);
  PackagePartViews parts;
  for (const auto& [name, data] : m_parts) parts.emplace(name, &data);
  parts[m_mainPart] = &document;
  parts[RelationsPartOf(m_mainPart)] = &relations;
  parts[kContentTypesPart] = &types;
  return ZipPackage(parts);
}

// ---- typing ------------------------------------------------------------------

void CWordDocument::SetFormat(const RunFormat& changes) { m_format.Merge(changes); }

// A run of text with the current formatting, just after the insertion point.
pugi::xml_node CWordDocument::InsertRun(const std::string& text) {
  pugi::xml_node run;
  if (m_after)
    run = m_paragraph.insert_child_after("w:r", m_after);
  else if (pugi::xml_node pPr = m_paragraph.child("w:pPr"))
    run = m_paragraph.insert_child_after("w:r", pPr);
  else
    run = m_paragraph.prepend_child("w:r");
  if (m_format != RunFormat()) WriteRunProperties(run.append_child("w:rPr"), m_format);
  // Tabs and vertical tabs (line breaks) are elements of their own.
  std::string piece;
  auto flush = [&] {
    if (piece.empty()) return;
    pugi::xml_node t = run.append_child("w:t");
    if (piece.front() == ' ' || piece.back() == ' ') t.append_attribute("xml:space") = "preserve";
    t.text().set(piece.c_str());
    piece.clear();
  };
  for (char c : text) {
    if (c == '\t' || c == '\v') {
      flush();
      run.append_child(c == '\t' ? "w:tab" : "w:br");
    } else {
      piece += c;
    }
  }
  flush();
  return run;
}

void CWordDocument::SetAlignment(Alignment alignment) {
  SetVal(OrderedChild(ParagraphProperties(m_paragraph), "w:jc", kParagraphPropertyOrder),
         kAlignmentNames[static_cast<int>(alignment)]);
}

void CWordDocument::TypeText(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (!line.empty()) m_after = InsertRun(line);
    line.clear();
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    TypeParagraph();
  }
  if (!line.empty()) m_after = InsertRun(line);
}

// Ends the paragraph at the insertion point; what follows the insertion point
// moves into a new paragraph with the same paragraph formatting.
void CWordDocument::SplitParagraph() {
  pugi::xml_node next = m_paragraph.parent().insert_child_after("w:p", m_paragraph);
  if (pugi::xml_node pPr = m_paragraph.child("w:pPr")) {
    pugi::xml_node copy = next.append_copy(pPr);
    pPr.remove_child("w:sectPr");  // a section break stays at the end of its section
    // A page break before and keeping with the next belong to one paragraph.
    if (copy.remove_child("w:pageBreakBefore") + copy.remove_child("w:keepNext") && !copy.first_child())
      next.remove_child(copy);
  }
  pugi::xml_node move = m_after ? m_after.next_sibling() : m_paragraph.first_child();
  while (move) {
    pugi::xml_node following = move.next_sibling();
    if (!Is(move, "w:pPr")) next.append_move(move);
    move = following;
  }
  m_paragraph = next;
  m_after = pugi::xml_node();
}

void CWordDocument::TypeParagraph() {
  // The paragraph mark carries the formatting of the insertion point, which
  // fixes the height of an empty line.
  if (m_format != RunFormat()) {
    pugi::xml_node pPr = ParagraphProperties(m_paragraph);
    pPr.remove_child("w:rPr");
    WriteRunProperties(OrderedChild(pPr, "w:rPr", kParagraphPropertyOrder), m_format);
  }
  SplitParagraph();
}

// ---- tables ------------------------------------------------------------------

void CWordDocument::InsertTable(const std::vector<std::vector<std::string>>& cells) {
  std::vector<std::vector<TableCell>> rows;
  rows.reserve(cells.size());
  for (const std::vector<std::string>& texts : cells) rows.emplace_back(texts.begin(), texts.end());
  InsertTable(rows, TableLayout());
}

// The text width of the section: page width less both margins (A4 with the
// blank document's margins when the section does not say).
int CWordDocument::TextWidth() const {
  if (pugi::xml_node sectPr = Body().child("w:sectPr")) {
    const int page = sectPr.child("w:pgSz").attribute("w:w").as_int(0);
    const int left = sectPr.child("w:pgMar").attribute("w:left").as_int(0);
    const int right = sectPr.child("w:pgMar").attribute("w:right").as_int(0);
    if (page - left - right > 0) return page - left - right;
  }
  return 11906 - 1800 - 1800;
}

void CWordDocument::InsertTable(const std::vector<std::vector<TableCell>>& rows, const TableLayout& layout) {
  const size_t rowCount = rows.size(), columns = rowCount ? rows[0].size() : 0;
  if (rowCount < 1 || columns < 1 || rowCount > 32767 || columns > 63)
    throw WordError("表格的行数或列数无效: " + std::to_string(rowCount) + " x " + std::to_string(columns));
  if (!layout.columnWidths.empty() &&
      (layout.columnWidths.size() != columns ||
       std::any_of(layout.columnWidths.begin(), layout.columnWidths.end(), [](int w) { return w < 1; })))
    throw WordError("表格的列宽无效: " + std::to_string(layout.columnWidths.size()) + " 个列宽, " +
                    std::to_string(columns) + " 列");
  if (layout.headerRows < 0) throw WordError("表格的标题行数无效: " + std::to_string(layout.headerRows));
  if (m_after) SplitParagraph();
  const bool pageBreak = TakePageBreak();
  std::vector<std::string> widths(columns, std::to_string(TextWidth() / static_cast<int>(columns)));
  int width = TextWidth();
  if (!layout.columnWidths.empty()) {
    width = 0;
    for (size_t c = 0; c < columns; ++c) {
      widths[c] = std::to_string(layout.columnWidths[c]);
      width += layout.columnWidths[c];
    }
  }

  pugi::xml_node table = m_paragraph.parent().insert_child_before("w:tbl", m_paragraph);
  pugi::xml_node tblPr = table.append_child("w:tblPr");
  pugi::xml_node tblW = tblPr.append_child("w:tblW");
  tblW.append_attribute("w:w") = width;
  tblW.append_attribute("w:type") = "dxa";
  if (layout.centred) tblPr.append_child("w:jc").append_attribute("w:val") = "center";
  auto line = [](pugi::xml_node border) {
    border.append_attribute("w:val") = "single";
    border.append_attribute("w:sz") = "4";
    border.append_attribute("w:space") = "0";
    border.append_attribute("w:color") = "auto";
  };
  if (layout.borders) {
    pugi::xml_node borders = tblPr.append_child("w:tblBorders");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
      line(borders.append_child(side));
  }
  // Given widths hold whatever the cells hold.
  if (!layout.columnWidths.empty()) tblPr.append_child("w:tblLayout").append_attribute("w:type") = "fixed";
  pugi::xml_node grid = table.append_child("w:tblGrid");
  for (size_t c = 0; c < columns; ++c) grid.append_child("w:gridCol").append_attribute("w:w") = widths[c].c_str();
  pugi::xml_node pPr = m_paragraph.child("w:pPr");
  // Each cell's text is typed there as at the insertion point, which then
  // returns with its format.
  const pugi::xml_node paragraphWas = m_paragraph;
  const RunFormat formatWas = m_format;
  for (size_t r = 0; r < rowCount; ++r) {
    pugi::xml_node row = table.append_child("w:tr");
    if (layout.keepRowsWhole || static_cast<int>(r) < layout.headerRows) {
      pugi::xml_node trPr = row.append_child("w:trPr");
      if (layout.keepRowsWhole) trPr.append_child("w:cantSplit");
      if (static_cast<int>(r) < layout.headerRows) trPr.append_child("w:tblHeader");
    }
    for (size_t c = 0; c < columns; ++c) {
      const TableCell* given = c < rows[r].size() ? &rows[r][c] : nullptr;
      pugi::xml_node cell = row.append_child("w:tc");
      pugi::xml_node tcPr = cell.append_child("w:tcPr");
      pugi::xml_node tcW = tcPr.append_child("w:tcW");
      tcW.append_attribute("w:w") = widths[c].c_str();
      tcW.append_attribute("w:type") = "dxa";
      if (given && given->underlined) line(tcPr.append_child("w:tcBorders").append_child("w:bottom"));
      if (layout.centreVertically) tcPr.append_child("w:vAlign").append_attribute("w:val") = "center";
      m_paragraph = cell.append_child("w:p");
      if (pPr) m_paragraph.append_copy(pPr).remove_child("w:sectPr");
      if (r == 0 && c == 0 && pageBreak)
        OrderedChild(ParagraphProperties(m_paragraph), "w:pageBreakBefore", kParagraphPropertyOrder);
      std::optional<Alignment> alignment = given ? given->alignment : std::nullopt;
      if (!alignment && c < layout.columnAlignment.size()) alignment = layout.columnAlignment[c];
      if (alignment) SetAlignment(*alignment);
      if (given) {
        m_format.Merge(given->format);
        TypeText(given->text);
        m_format = formatWas;
      }
      m_after = pugi::xml_node();
    }
  }
  m_paragraph = paragraphWas;
}

// Takes the page break PageBreak left on the insertion point's paragraph
// for a block placed before it; whether there was one.
bool CWordDocument::TakePageBreak() {
  pugi::xml_node pPr = m_paragraph.child("w:pPr");
  if (!pPr || !pPr.remove_child("w:pageBreakBefore")) return false;
  if (!pPr.first_child()) m_paragraph.remove_child(pPr);
  return true;
}

void CWordDocument::PageBreak() {
  if (m_after) TypeParagraph();
  OrderedChild(ParagraphProperties(m_paragraph), "w:pageBreakBefore", kParagraphPropertyOrder);
  ++m_pageBreaks;
}

void CWordDocument::KeepWithNext() {
  OrderedChild(ParagraphProperties(m_paragraph), "w:keepNext", kParagraphPropertyOrder);
}

void CWordDocument::SetSpacing(double beforePoints, double afterPoints) {
  pugi::xml_node spacing = OrderedChild(ParagraphProperties(m_paragraph), "w:spacing", kParagraphPropertyOrder);
  for (const auto& [name, points] : {std::pair{"w:before", beforePoints}, std::pair{"w:after", afterPoints}}) {
    spacing.remove_attribute(name);
    spacing.append_attribute(name) = static_cast<int>(std::lround(points * 20));
  }
}

// ---- headings and the table of contents ---------------------------------------

// The heading styles, their numbering and the contents' styles, once.
void CWordDocument::AddOutlineStyles() {
  if (m_outlineStyles) return;
  const std::string stylesPart = FolderOf(m_mainPart) + "styles.xml";
  pugi::xml_document styles;
  ParseXml(styles, m_parts[stylesPart], stylesPart);
  std::string added = kOutlineStyles;
  const std::string tab = std::to_string(TextWidth());
  for (size_t at = added.find("TAB"); at != std::string::npos; at = added.find("TAB", at))
    added.replace(at, 3, tab);
  pugi::xml_document outline;
  ParseXml(outline, added, "outline styles");
  // Ours take the place of a spliced package's styles of the same ids.
  pugi::xml_node root = styles.child("w:styles");
  for (pugi::xml_node style : outline.child("w:styles").children("w:style")) {
    if (pugi::xml_node same = root.find_child_by_attribute("w:style", "w:styleId", style.attribute("w:styleId").value()))
      root.remove_child(same);
    root.append_copy(style);
  }
  m_parts[stylesPart] = ToXml(styles);

  m_parts[kNumberingPart] = kOutlineNumbering;
  AppendRelation(m_relations, std::string(kRelTypes) + "numbering", TargetFrom(FolderOf(m_mainPart), kNumberingPart),
                 false);
  pugi::xml_node type = m_contentTypes.child("Types").append_child("Override");
  type.append_attribute("PartName") = (std::string("/") + kNumberingPart).c_str();
  type.append_attribute("ContentType") = "application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml";
  m_outlineStyles = true;
}

void CWordDocument::TypeHeading(int level, const std::string& text) {
  if (level < 1 || level > 3) throw WordError("标题级别无效: " + std::to_string(level));
  if (level > 1 && m_headingCounts[level - 2] == 0)
    throw WordError("标题级别 " + std::to_string(level) + " 之前缺少上一级标题: " + text);
  if (text.find_first_of("\r\n") != std::string::npos) throw WordError("标题不能分段: " + text);
  AddOutlineStyles();
  if (m_after) TypeParagraph();

  // The heading's paragraph takes its style alone; the paragraph after it
  // gets back the formatting this one had.
  const bool pageBreak = TakePageBreak();
  pugi::xml_document bodyFormat;
  if (pugi::xml_node pPr = m_paragraph.child("w:pPr")) {
    bodyFormat.append_copy(pPr).remove_child("w:keepNext");
    m_paragraph.remove_child(pPr);
  }
  pugi::xml_node pPr = m_paragraph.prepend_child("w:pPr");
  SetVal(pPr.append_child("w:pStyle"), "Heading" + std::to_string(level));
  if (pageBreak) OrderedChild(pPr, "w:pageBreakBefore", kParagraphPropertyOrder);

  ++m_headingCounts[level - 1];
  for (int deeper = level; deeper < 3; ++deeper) m_headingCounts[deeper] = 0;
  Heading heading{level, "", text, "_Toc" + std::to_string(m_headings.size() + 1), m_pageBreaks + 1};
  for (int l = 0; l < level; ++l) heading.number += (l ? "." : "") + std::to_string(m_headingCounts[l]);

  // The text between the ends of a bookmark the contents link to; the
  // style gives its look.
  const std::string id = std::to_string(m_headings.size() + 1);
  pugi::xml_node start = m_paragraph.append_child("w:bookmarkStart");
  start.append_attribute("w:id") = id.c_str();
  start.append_attribute("w:name") = heading.bookmark.c_str();
  m_after = start;
  const RunFormat formatWas = m_format;
  m_format = RunFormat();
  m_after = InsertRun(text);
  m_format = formatWas;
  m_paragraph.append_child("w:bookmarkEnd").append_attribute("w:id") = id.c_str();

  pugi::xml_node next = m_paragraph.parent().insert_child_after("w:p", m_paragraph);
  if (bodyFormat.first_child()) next.append_copy(bodyFormat.first_child());
  m_paragraph = next;
  m_after = pugi::xml_node();

  m_headings.push_back(std::move(heading));
  if (m_contentsFirst) AppendContentsEntry(m_headings.size() - 1);
}

namespace {

pugi::xml_node AppendFieldChar(pugi::xml_node parent, const char* type) {
  pugi::xml_node run = parent.append_child("w:r");
  run.append_child("w:fldChar").append_attribute("w:fldCharType") = type;
  return run;
}

void AppendFieldCode(pugi::xml_node parent, const std::string& code) {
  pugi::xml_node text = parent.append_child("w:r").append_child("w:instrText");
  text.append_attribute("xml:space") = "preserve";
  text.text().set(code.c_str());
}

void AppendText(pugi::xml_node parent, const std::string& text) {
  pugi::xml_node t = parent.append_child("w:r").append_child("w:t");
  t.append_attribute("xml:space") = "preserve";
  t.text().set(text.c_str());
}

}  // namespace

// One line of the contents: the heading's number and text, then its page
// after a tab, all a link to the heading.
void CWordDocument::AppendContentsEntry(size_t index) {
  const Heading& heading = m_headings[index];
  // The first entry shares the paragraph where the field starts.
  pugi::xml_node paragraph = m_contentsFirst.child("w:hyperlink")
                                 ? m_contentsEnd.parent().insert_child_before("w:p", m_contentsEnd)
                                 : m_contentsFirst;
  SetVal(OrderedChild(ParagraphProperties(paragraph), "w:pStyle", kParagraphPropertyOrder),
         "TOC" + std::to_string(heading.level));
  pugi::xml_node link = paragraph.append_child("w:hyperlink");
  link.append_attribute("w:anchor") = heading.bookmark.c_str();
  link.append_attribute("w:history") = "1";
  AppendText(link, heading.number + " " + heading.text);
  link.append_child("w:r").append_child("w:tab");
  AppendFieldChar(link, "begin");
  AppendFieldCode(link, " PAGEREF " + heading.bookmark + " \\h ");
  AppendFieldChar(link, "separate");
  AppendText(link, std::to_string(heading.page));
  AppendFieldChar(link, "end");
}

void CWordDocument::InsertTableOfContents(const std::string& title) {
  if (m_contentsFirst) throw WordError("文档中已有目录");
  AddOutlineStyles();
  // A word processor refreshes the fields, the contents' pages among them,
  // when it opens the document.
  pugi::xml_document settings;
  const std::string settingsPart = FolderOf(m_mainPart) + "settings.xml";
  ParseXml(settings, m_parts[settingsPart], settingsPart);
  pugi::xml_node root = settings.child("w:settings");
  if (!root.child("w:updateFields")) {
    pugi::xml_node compat = root.child("w:compat");
    SetVal(compat ? root.insert_child_before("w:updateFields", compat) : root.append_child("w:updateFields"), "true");
    m_parts[settingsPart] = ToXml(settings);
  }

  if (m_after) SplitParagraph();
  const bool pageBreak = TakePageBreak();
  pugi::xml_node parent = m_paragraph.parent();
  pugi::xml_node heading = parent.insert_child_before("w:p", m_paragraph);
  pugi::xml_node pPr = heading.append_child("w:pPr");
  SetVal(pPr.append_child("w:pStyle"), "TOCHeading");
  if (pageBreak) OrderedChild(pPr, "w:pageBreakBefore", kParagraphPropertyOrder);
  AppendText(heading, title);

  // The entries stand as they are, not as the result of a TOC field: a
  // word processor that imports such a field keeps its result as typed, so
  // its pages would stay the estimates, while a PAGEREF field of its own is
  // laid out and shows the real page everywhere.
  m_contentsFirst = parent.insert_child_before("w:p", m_paragraph);
  SetVal(m_contentsFirst.append_child("w:pPr").append_child("w:pStyle"), "TOC1");
  m_contentsEnd = parent.insert_child_before("w:p", m_paragraph);
  for (size_t i = 0; i < m_headings.size(); ++i) AppendContentsEntry(i);
}

// ---- inserting a document ----------------------------------------------------

namespace {

// The document being inserted, and what of it was copied so far.
struct Source {
  const std::string& name;
  const PackageParts& parts;
  const std::string& mainPart;
  const pugi::xml_document& relations;
  const pugi::xml_document& contentTypes;
  std::map<std::string, std::string> copiedParts;  // source part -> part here
  std::map<std::string, std::string> relationIds;  // source id -> id here
};

// Copies parts and relationships of a source into this package: the parts
// go into `added` beside the document's own `parts`, which stay untouched
// until the insertion is committed.
class CSplicer {
 public:
  CSplicer(const PackageParts& parts, PackageParts& added, const std::string& mainPart, pugi::xml_document& relations,
           pugi::xml_document& contentTypes)
      : m_existing(parts), m_parts(added), m_mainPart(mainPart), m_relations(relations), m_contentTypes(contentTypes) {}

  std::string CopyPart(Source& source, const std::string& part) {
    if (auto done = source.copiedParts.find(part); done != source.copiedParts.end()) return done->second;
    auto data = source.parts.find(part);
    if (data == source.parts.end())
      throw WordError("文档 " + source.name + " 缺少部件 " + part);
    const std::string copy = FreeName(part);
    source.copiedParts[part] = copy;
    m_parts[copy] = data->second;
    DeclareContentType(copy, part, source.contentTypes);
    // The part's own relationships, with the parts they reach.
    auto relations = source.parts.find(RelationsPartOf(part));
    if (relations != source.parts.end()) {
      pugi::xml_document xml;
      ParseXml(xml, relations->second, source.name + " 的 " + relations->first);
      for (pugi::xml_node relation : xml.child("Relationships").children("Relationship")) {
        if (std::string(relation.attribute("TargetMode").value()) == "External") continue;
        const std::string target = CopyPart(source, ResolveTarget(FolderOf(part), relation.attribute("Target").value()));
        relation.attribute("Target").set_value(TargetFrom(FolderOf(copy), target).c_str());
      }
      m_parts[RelationsPartOf(copy)] = ToXml(xml);
    }
    return copy;
  }

  // A relationship of the main part to a copy of what the source's
  // relationship id reaches; the new id.
  std::string CopyRelation(Source& source, const std::string& id) {
    if (auto done = source.relationIds.find(id); done != source.relationIds.end()) return done->second;
    pugi::xml_node relation = FindRelation(source.relations, id);
    if (!relation)
      throw WordError("文档 " + source.name + " 引用了不存在的关系 " + id);
    std::string target = relation.attribute("Target").value();
    const bool external = std::string(relation.attribute("TargetMode").value()) == "External";
    if (!external)
      target = TargetFrom(FolderOf(m_mainPart),
                          CopyPart(source, ResolveTarget(FolderOf(source.mainPart), target)));
    const std::string fresh = AddRelation(relation.attribute("Type").value(), target, external);
    source.relationIds[id] = fresh;
    return fresh;
  }

  std::string AddRelation(const std::string& type, const std::string& target, bool external) {
    return AppendRelation(m_relations, type, target, external);
  }

 private:
  bool Taken(const std::string& part) const {
    return m_existing.count(part) || m_parts.count(part) || part == m_mainPart || part == RelationsPartOf(m_mainPart) ||
           part == kContentTypesPart;
  }

  // The source's name when free here, else the same name numbered.
  std::string FreeName(const std::string& part) const {
    if (!Taken(part)) return part;
    const std::string extension = ExtensionOf(part);
    std::string stem = extension.empty() ? part : part.substr(0, part.size() - extension.size() - 1);
    while (!stem.empty() && std::isdigit(static_cast<unsigned char>(stem.back()))) stem.pop_back();
    for (int number = 1;; ++number) {
      const std::string name = stem + std::to_string(number) + (extension.empty() ? "" : "." + extension);
      if (!Taken(name)) return name;
    }
  }

  void DeclareContentType(const std::string& copy, const std::string& original,
                          const pugi::xml_document& sourceTypes) {
    pugi::xml_node root = m_contentTypes.child("Types");
    const std::string type = ContentTypeOf(sourceTypes, original);
    const std::string extension = ExtensionOf(copy);
    pugi::xml_node override =
        sourceTypes.child("Types").find_child_by_attribute("Override", "PartName", ("/" + original).c_str());
    if (override) {
      pugi::xml_node added = root.append_child("Override");
      added.append_attribute("PartName") = ("/" + copy).c_str();
      added.append_attribute("ContentType") = type.c_str();
    } else if (ContentTypeOf(m_contentTypes, copy) != type) {
      if (ContentTypeOf(m_contentTypes, copy).empty() && !extension.empty()) {
        pugi::xml_node added = root.prepend_child("Default");
        added.append_attribute("Extension") = extension.c_str();
        added.append_attribute("ContentType") = type.empty() ? "application/octet-stream" : type.c_str();
      } else {
        pugi::xml_node added = root.append_child("Override");
        added.append_attribute("PartName") = ("/" + copy).c_str();
        added.append_attribute("ContentType") = type.empty() ? "application/octet-stream" : type.c_str();
      }
    }
  }

  const PackageParts& m_existing;
  PackageParts& m_parts;
  const std::string& m_mainPart;
  pugi::xml_document& m_relations;
  pugi::xml_document& m_contentTypes;
};

// Every namespace the source's root declares, declared here too: on the root
// when the prefix is free, else on each spliced block.
std::vector<std::pair<std::string, std::string>> MergeNamespaces(pugi::xml_node root, pugi::xml_node sourceRoot) {
  std::vector<std::pair<std::string, std::string>> local;
  for (pugi::xml_attribute attribute : sourceRoot.attributes()) {
    const std::string name = attribute.name();
    if (name.compare(0, 6, "xmlns:") != 0) continue;
    pugi::xml_attribute mine = root.attribute(name.c_str());
    if (!mine)
      root.append_attribute(name.c_str()) = attribute.value();
    else if (std::strcmp(mine.value(), attribute.value()) != 0)
      local.emplace_back(name, attribute.value());
  }
  // Prefixes a reader may ignore stay ignorable.
  const std::string mc = PrefixOf(sourceRoot, kNsMc);
  if (!mc.empty()) {
    const std::string ignorable = sourceRoot.attribute((mc + ":Ignorable").c_str()).value();
    std::string myMc = PrefixOf(root, kNsMc);
    if (!ignorable.empty() && !myMc.empty()) {
      pugi::xml_attribute mine = root.attribute((myMc + ":Ignorable").c_str());
      if (!mine) mine = root.append_attribute((myMc + ":Ignorable").c_str());
      std::string merged = mine.value();
      size_t start = 0;
      while (start < ignorable.size()) {
        size_t end = ignorable.find(' ', start);
        if (end == std::string::npos) end = ignorable.size();
        const std::string prefix = ignorable.substr(start, end - start);
        if (!prefix.empty() && (" " + merged + " ").find(" " + prefix + " ") == std::string::npos)
          merged += (merged.empty() ? "" : " ") + prefix;
        start = end + 1;
      }
      mine.set_value(merged.c_str());
    }
  }
  return local;
}

// A package to insert, its XML as parsed.
struct SourceFile {
  explicit SourceFile(const PackageParts& p) : parts(p) {}
  const PackageParts& parts;
  std::string mainPart;
  pugi::xml_document document;
  pugi::xml_document relations;
  pugi::xml_document contentTypes;
  pugi::xml_document styles;  // empty when it has none beside its main part
};

// Parses the package named name into file. Throws WordError when it is no
// word-processing document.
void ParseSourceFile(SourceFile& file, const std::string& name) {
  file.mainPart = MainPartOf(file.parts, name);
  auto main = file.parts.find(file.mainPart);
  if (main == file.parts.end()) throw WordError("文档 " + name + " 缺少主文档部件 " + file.mainPart);
  ParseXml(file.document, main->second, name + " 的 " + file.mainPart);
  pugi::xml_node root = file.document.child("w:document");
  if (!root.child("w:body") || PrefixOf(root, kNsW) != "w") throw WordError("文档 " + name + " 不是 Word 文档正文");
  if (auto relations = file.parts.find(RelationsPartOf(file.mainPart)); relations != file.parts.end())
    ParseXml(file.relations, relations->second, name + " 的 " + relations->first);
  if (auto types = file.parts.find(kContentTypesPart); types != file.parts.end())
    ParseXml(file.contentTypes, types->second, name + " 的 " + kContentTypesPart);
  const std::string stylesPart = FolderOf(file.mainPart) + "styles.xml";
  if (auto styles = file.parts.find(stylesPart); styles != file.parts.end())
    ParseXml(file.styles, styles->second, name + " 的 " + stylesPart);
}

}  // namespace

void CWordDocument::InsertPackage(const PackageParts& parts, const std::string& name) {
  SourceFile file(parts);
  ParseSourceFile(file, name);
  Source source{name, file.parts, file.mainPart, file.relations, file.contentTypes, {}, {}};
  pugi::xml_node sourceRoot = file.document.child("w:document");
  pugi::xml_node sourceBody = sourceRoot.child("w:body");

  // Everything that can fail is prepared aside (new parts beside this
  // document's, relationships and content types as copies, the blocks in a
  // holder at the end of this document's root); only then is this document
  // changed, so a failure leaves it as it was.
  PackageParts added;
  pugi::xml_document relations, contentTypes;
  relations.reset(m_relations);
  contentTypes.reset(m_contentTypes);
  CSplicer splicer(m_parts, added, m_mainPart, relations, contentTypes);
  pugi::xml_node root = m_document.child("w:document");
  pugi::xml_node holder = root.append_child("blocks");
  pugi::xml_node blocks = holder.append_child("blocks");
  pugi::xml_node references = holder.append_child("references");
  const std::string stylesPart = FolderOf(m_mainPart) + "styles.xml";
  std::optional<std::string> styles;
  bool firstPage = false;
  int drawingId = m_lastDrawingId;
  try {
    const std::string relationPrefix = PrefixOf(sourceRoot, kNsR);
    const std::string docPrName = PrefixOf(sourceRoot, kNsWp) + ":docPr";
    std::vector<pugi::xml_node> numbering;
    auto remap = [&](pugi::xml_node copy) {
      ForEachElement(copy, [&](pugi::xml_node node) {
        for (pugi::xml_attribute attribute : node.attributes()) {
          const char* name = attribute.name();
          if (!relationPrefix.empty() && std::strncmp(name, relationPrefix.c_str(), relationPrefix.size()) == 0 &&
              name[relationPrefix.size()] == ':')
            attribute.set_value(splicer.CopyRelation(source, attribute.value()).c_str());
        }
        // Drawing ids are unique within a document.
        if (docPrName == node.name()) node.attribute("id").set_value(++drawingId);
        if (Is(node, "w:numPr")) numbering.push_back(node);
      });
    };

    pugi::xml_node sourceSectPr = sourceBody.last_child();
    if (!Is(sourceSectPr, "w:sectPr")) sourceSectPr = pugi::xml_node();
    for (pugi::xml_node block : sourceBody.children()) {
      if (block.type() != pugi::node_element || block == sourceSectPr) continue;
      remap(blocks.append_copy(block));
    }
    // List numbering is not carried over: the text stays, unnumbered.
    for (pugi::xml_node node : numbering) node.parent().remove_child(node);

    // Headers and footers, of each kind this document has none of yet.
    pugi::xml_node sectPr = Body().last_child();
    const bool hasSectPr = Is(sectPr, "w:sectPr");
    if (sourceSectPr) {
      for (const char* kind : {"w:headerReference", "w:footerReference"}) {
        if (hasSectPr && sectPr.child(kind)) continue;
        for (pugi::xml_node reference : sourceSectPr.children(kind)) {
          remap(references.append_copy(reference));
          firstPage = firstPage || sourceSectPr.child("w:titlePg");
        }
      }
    }

    // Styles the spliced paragraphs may name and this document lacks.
    const std::string sourceStylesPart = FolderOf(file.mainPart) + "styles.xml";
    if (file.parts.count(sourceStylesPart)) {
      const auto newer = added.find(stylesPart);
      const auto kept = m_parts.find(stylesPart);
      const std::string* current =
          newer != added.end() ? &newer->second : kept != m_parts.end() ? &kept->second : nullptr;
      if (!current) {
        splicer.CopyPart(source, sourceStylesPart);
        splicer.AddRelation(std::string(kRelTypes) + "styles", TargetFrom(FolderOf(m_mainPart), stylesPart), false);
      } else {
        pugi::xml_document mine;
        ParseXml(mine, *current, stylesPart);
        std::set<std::string> known;
        for (pugi::xml_node style : mine.child("w:styles").children("w:style"))
          known.insert(style.attribute("w:styleId").value());
        bool changed = false;
        for (pugi::xml_node style : file.styles.child("w:styles").children("w:style")) {
          if (known.count(style.attribute("w:styleId").value())) continue;
          mine.child("w:styles").append_copy(style).remove_attribute("w:default");
          changed = true;
        }
        if (changed) styles = ToXml(mine);
      }
    }
  } catch (...) {
    root.remove_child(holder);
    throw;
  }

  // Commit.
  for (auto& [name, data] : added) m_parts[name] = std::move(data);
  if (styles) m_parts[stylesPart] = std::move(*styles);
  m_relations.reset(relations);
  m_contentTypes.reset(contentTypes);
  m_lastDrawingId = drawingId;
  const auto localNamespaces = MergeNamespaces(root, sourceRoot);
  if (m_after) SplitParagraph();  // at a paragraph's start the blocks go before it
  // A pending page break goes before the first spliced paragraph.
  if (pugi::xml_node first = blocks.find_node([](pugi::xml_node n) { return Is(n, "w:p"); }); first && TakePageBreak())
    OrderedChild(ParagraphProperties(first), "w:pageBreakBefore", kParagraphPropertyOrder);
  pugi::xml_node parent = m_paragraph.parent();
  for (pugi::xml_node block = blocks.first_child(); block;) {
    const pugi::xml_node next = block.next_sibling();
    pugi::xml_node placed = parent.insert_move_before(block, m_paragraph);
    for (const auto& [name, uri] : localNamespaces) placed.append_attribute(name.c_str()) = uri.c_str();
    block = next;
  }
  if (references.first_child()) {
    pugi::xml_node sectPr = Body().last_child();
    if (!Is(sectPr, "w:sectPr")) sectPr = Body().append_child("w:sectPr");
    for (pugi::xml_node reference = references.first_child(); reference;) {
      const pugi::xml_node next = reference.next_sibling();
      pugi::xml_node placed = sectPr.append_move(reference);
      for (const auto& [name, uri] : localNamespaces) placed.append_attribute(name.c_str()) = uri.c_str();
      reference = next;
    }
    // References come first in a section, headers before footers.
    for (const char* kind : {"w:footerReference", "w:headerReference"}) {
      std::vector<pugi::xml_node> found;
      for (pugi::xml_node reference : sectPr.children(kind)) found.push_back(reference);
      for (auto it = found.rbegin(); it != found.rend(); ++it) sectPr.prepend_move(*it);
    }
    if (firstPage) OrderedChild(sectPr, "w:titlePg", kSectionPropertyOrder);
  }
  root.remove_child(holder);
}

}  // namespace tiecalc
