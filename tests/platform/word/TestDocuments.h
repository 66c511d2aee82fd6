#pragma once
// Small word-processing documents for tests of the document layer, built
// part by part, and a way to read any document back with an independent
// reader (python-docx).

#include <array>
#include <cstdio>
#include <string>

#include "Portable.h"
#include "platform/word/ZipPackage.h"

namespace tiecalc::testdocs {

// A 60 x 30 checkerboard PNG.
inline std::string Png() {
  static const unsigned char bytes[] = {
      0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
      0x00, 0x00, 0x3c, 0x00, 0x00, 0x00, 0x1e, 0x08, 0x02, 0x00, 0x00, 0x00, 0xff, 0xfa, 0xea, 0x18, 0x00,
      0x00, 0x00, 0x48, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0xed, 0xd6, 0x31, 0x0d, 0x00, 0x20, 0x0c, 0x44,
      0xd1, 0x4a, 0xa9, 0x34, 0xa4, 0x21, 0x09, 0x29, 0x48, 0x00, 0x05, 0x9d, 0x9a, 0xc0, 0xf0, 0x92, 0xbf,
      0x5e, 0xf2, 0xc6, 0x8b, 0x3d, 0xb3, 0x28, 0xc7, 0x2a, 0x7a, 0xb5, 0x0d, 0x68, 0x68, 0x68, 0x68, 0x68,
      0xe8, 0x76, 0xf4, 0x9f, 0xac, 0x7a, 0x0b, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0xdd, 0x8f, 0xf6, 0x3d, 0xa0,
      0xa1, 0xa1, 0xa1, 0xa1, 0xa1, 0x6f, 0x07, 0x6f, 0xce, 0x8c, 0x97, 0xbd, 0xc7, 0x9b, 0x0b, 0x00, 0x00,
      0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

inline std::string Drawing(const std::string& relationId, int id) {
  const std::string n = std::to_string(id);
  return R"(<w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0">)"
         R"(<wp:extent cx="1143000" cy="571500"/><wp:docPr id=")" + n + R"(" name="Picture )" + n + R"("/>)"
         R"(<a:graphic xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main">)"
         R"(<a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/picture">)"
         R"(<pic:pic xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture">)"
         R"(<pic:nvPicPr><pic:cNvPr id="0" name="figure.png"/><pic:cNvPicPr/></pic:nvPicPr>)"
         R"(<pic:blipFill><a:blip r:embed=")" + relationId + R"("/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>)"
         R"(<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="1143000" cy="571500"/></a:xfrm>)"
         R"(<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>)"
         R"(</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>)";
}

// A fragment like the report's: a heading in a style of its own, an equation
// (F1 = M / (2a) + R sin θ, a fraction and a function), a figure, a closing
// line, and optionally a footer "第 PAGE 页 共 NUMPAGES 页". The picture's
// relationship id rId2 is taken by another part in a blank document.
inline PackageParts Fragment(const std::string& heading, const std::string& picture, bool footer) {
  const std::string document =
      R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
      R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
      R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")"
      R"( xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math")"
      R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing")"
      R"( xmlns:x14="urn:tiecalc-test-extension"><w:body>)"
      R"(<w:p><w:pPr><w:pStyle w:val="FragHeading"/></w:pPr><w:r><w:rPr><w:rFonts w:ascii="黑体" w:hAnsi="黑体" w:eastAsia="黑体"/></w:rPr><w:t>)" +
      heading +
      R"(</w:t></w:r></w:p>)"
      R"(<w:p><m:oMathPara><m:oMath><m:r><m:t>F1=</m:t></m:r>)"
      R"(<m:f><m:num><m:r><m:t>M</m:t></m:r></m:num><m:den><m:r><m:t>2a</m:t></m:r></m:den></m:f>)"
      R"(<m:r><m:t>+R</m:t></m:r><m:func><m:fName><m:r><m:t>sin</m:t></m:r></m:fName><m:e><m:r><m:t>θ</m:t></m:r></m:e></m:func>)"
      R"(</m:oMath></m:oMathPara></w:p>)"
      R"(<w:p><w:pPr><w:jc w:val="center"/></w:pPr>)" +
      Drawing("rId2", 1) +
      R"(</w:p>)"
      R"(<w:p><w:r><w:t xml:space="preserve">  图1 计算模型</w:t></w:r></w:p>)"
      R"(<w:sectPr>)" +
      std::string(footer ? R"(<w:footerReference w:type="default" r:id="rId3"/>)" : "") +
      R"(<w:pgSz w:w="11906" w:h="16838"/></w:sectPr></w:body></w:document>)";
  const std::string relations =
      R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
      R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
      R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/image" Target="media/image1.png"/>)" +
      std::string(footer ? R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer" Target="footer1.xml"/>)" : "") +
      R"(</Relationships>)";
  const std::string types =
      R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
      R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
      R"(<Default Extension="xml" ContentType="application/xml"/>)"
      R"(<Default Extension="png" ContentType="image/png"/>)"
      R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
      R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)" +
      std::string(footer ? R"(<Override PartName="/word/footer1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"/>)" : "") +
      R"(</Types>)";
  PackageParts parts{
      {"[Content_Types].xml", types},
      {"_rels/.rels",
       R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
       R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
       R"(</Relationships>)"},
      {"word/document.xml", document},
      {"word/_rels/document.xml.rels", relations},
      {"word/styles.xml",
       R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
       R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
       R"(<w:style w:type="paragraph" w:styleId="FragHeading"><w:name w:val="Frag Heading"/><w:basedOn w:val="Normal"/>)"
       R"(<w:rPr><w:b/><w:sz w:val="32"/></w:rPr></w:style></w:styles>)"},
      {"word/media/image1.png", picture}};
  if (footer)
    parts["word/footer1.xml"] =
        R"(<w:ftr xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:p><w:pPr><w:jc w:val="center"/></w:pPr>)"
        R"(<w:r><w:t xml:space="preserve">第 </w:t></w:r><w:fldSimple w:instr=" PAGE "><w:r><w:t>1</w:t></w:r></w:fldSimple>)"
        R"(<w:r><w:t xml:space="preserve"> 页 共 </w:t></w:r>)"
        R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText xml:space="preserve"> NUMPAGES </w:instrText></w:r>)"
        R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>1</w:t></w:r><w:r><w:fldChar w:fldCharType="end"/></w:r>)"
        R"(<w:r><w:t xml:space="preserve"> 页</w:t></w:r></w:p></w:ftr>)";
  return parts;
}

// What read_docx.py prints for the document at path; empty when it fails.
inline std::string ReadBack(const std::string& path) {
  const portable::ProcessResult run = portable::RunProcess(
      {"/usr/bin/python3", TIECALC_SOURCE_DIR "/tests/platform/word/read_docx.py", path}, path + ".reader.out",
      path + ".reader.err");
  std::error_code ignored;
  std::filesystem::remove(PathFromUtf8(path + ".reader.out"), ignored);
  std::filesystem::remove(PathFromUtf8(path + ".reader.err"), ignored);
  if (run.status != 0) return "read_docx.py failed:\n" + run.out + run.err;
  return run.out;
}

}  // namespace tiecalc::testdocs
