#include "platform/word/PackageBuilder.h"

#include <cmath>
#include <cstdint>
#include <sstream>

#include "platform/word/OoxmlNamespaces.h"
#include "platform/word/WordError.h"

namespace tiecalc {

namespace {

constexpr const char* kRelationshipsNs = ooxml::kPackageRelationships;
constexpr const char* kOfficeRelNs = ooxml::kOfficeRelationships;
constexpr const char* kDrawingNs = ooxml::kWordDrawing;
constexpr const char* kDrawingMainNs = ooxml::kDrawingMain;
constexpr const char* kPictureNs = ooxml::kPicture;
constexpr const char* kFooterId = "rIdFooter1";
constexpr long long kEmuPerInch = 914400;

std::string Save(const pugi::xml_document& document) {
  std::ostringstream out;
  document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

pugi::xml_node Root(pugi::xml_document& document, const char* name) {
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  declaration.append_attribute("standalone") = "yes";
  return document.append_child(name);
}

void DeclareWordNamespaces(pugi::xml_node root) {
  root.append_attribute("xmlns:w") = ooxml::kWordMain;
  root.append_attribute("xmlns:m") = ooxml::kMath;
  root.append_attribute("xmlns:r") = kOfficeRelNs;
  root.append_attribute("xmlns:wp") = kDrawingNs;
  root.append_attribute("xmlns:a") = kDrawingMainNs;
  root.append_attribute("xmlns:pic") = kPictureNs;
}

void AppendTextRun(pugi::xml_node parent, const std::string& text) {
  pugi::xml_node run = parent.append_child("w:r");
  pugi::xml_node properties = AppendRunFonts(run.append_child("w:rPr"), "Times New Roman");
  properties.append_child("w:szCs").append_attribute("w:val") = "24";
  properties.append_child("w:lang").append_attribute("w:eastAsia") = "zh-CN";
  pugi::xml_node t = run.append_child("w:t");
  t.append_attribute("xml:space") = "preserve";
  t.text().set(text.c_str());
}

void AppendField(pugi::xml_node parent, const std::string& name) {
  pugi::xml_node field = parent.append_child("w:fldSimple");
  field.append_attribute("w:instr") = (" " + name + " ").c_str();
  AppendTextRun(field, "1");  // the result shown until the field is updated
}

// FNV-1a of the name, folded into 1 .. 2^31 - 1.
unsigned DrawingId(const std::string& name) {
  std::uint32_t hash = 2166136261u;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return (hash & 0x7FFFFFFFu) | 1u;
}

using Piece = DocumentPiece;

class DocumentBuilder {
 public:
  DocumentBuilder(const FigureSet& figures, const EquationWriter& equations)
      : m_figures(figures), m_equations(equations) {
    Root(m_relationships, "Relationships").append_attribute("xmlns") = kRelationshipsNs;
  }

  PackageParts Build(const DocumentContent& source) {
    pugi::xml_document document;
    pugi::xml_node root = Root(document, "w:document");
    DeclareWordNamespaces(root);
    pugi::xml_node body = root.append_child("w:body");
    for (const DocumentParagraph& paragraph : source.paragraphs) AppendParagraph(body, paragraph);

    pugi::xml_node section = body.append_child("w:sectPr");
    if (source.footer) {
      pugi::xml_node reference = section.append_child("w:footerReference");
      reference.append_attribute("w:type") = "default";
      reference.append_attribute("r:id") = kFooterId;
      AddRelationship(kFooterId, "footer", "footer1.xml");
      m_parts["word/footer1.xml"] = Footer(*source.footer);
    }
    pugi::xml_node size = section.append_child("w:pgSz");
    size.append_attribute("w:w") = "11906";
    size.append_attribute("w:h") = "16838";
    pugi::xml_node margins = section.append_child("w:pgMar");
    margins.append_attribute("w:top") = "1440";
    margins.append_attribute("w:right") = "1800";
    margins.append_attribute("w:bottom") = "1440";
    margins.append_attribute("w:left") = "1800";
    margins.append_attribute("w:header") = "851";
    margins.append_attribute("w:footer") = "992";
    margins.append_attribute("w:gutter") = "0";

    m_parts["word/document.xml"] = Save(document);
    m_parts["word/_rels/document.xml.rels"] = Save(m_relationships);
    m_parts["_rels/.rels"] = PackageRelationships();
    m_parts["[Content_Types].xml"] = ContentTypes(source.footer.has_value());
    return std::move(m_parts);
  }

 private:
  void AppendParagraph(pugi::xml_node body, const DocumentParagraph& paragraph) {
    pugi::xml_node p = body.append_child("w:p");
    const bool alone = paragraph.pieces.size() == 1;
    const Piece::Kind first = paragraph.pieces.front().kind;
    if (alone && first == Piece::Kind::Drawing)
      p.append_child("w:pPr").append_child("w:jc").append_attribute("w:val") = "center";
    for (const Piece& piece : paragraph.pieces) {
      switch (piece.kind) {
        case Piece::Kind::Text:
          AppendTextRun(p, piece.value);
          break;
        case Piece::Kind::Equation: {
          // An equation that is the whole paragraph stands on its own line.
          if (!m_equations) throw WordError("没有写出公式的方法: " + piece.value);
          pugi::xml_node parent = alone ? p.append_child("m:oMathPara") : p;
          m_equations(parent.append_child("m:oMath"), piece.value);
          break;
        }
        case Piece::Kind::Drawing:
          AppendPicture(p, piece);
          break;
        case Piece::Kind::Field:
          AppendField(p, piece.value);
          break;
      }
    }
  }

  void AppendPicture(pugi::xml_node p, const Piece& drawing) {
    const auto found = m_figures.pngs.find(drawing.value);
    if (found == m_figures.pngs.end()) {
      if (m_figures.missing.count(drawing.value)) return;
      throw WordError("图 " + drawing.value + " 没有图片");
    }
    const PngInfo info = ReadPngInfo(found->second);
    const double dpiX = info.dpiX > 0 ? info.dpiX : m_figures.fallbackDpi;
    const double dpiY = info.dpiY > 0 ? info.dpiY : m_figures.fallbackDpi;
    long long cx = std::llround(info.width * kEmuPerInch / dpiX);
    long long cy = std::llround(info.height * kEmuPerInch / dpiY);
    if (cx > kTextWidthEmu) {
      cy = std::llround(static_cast<double>(cy) * kTextWidthEmu / static_cast<double>(cx));
      cx = kTextWidthEmu;
    }
    const std::string id = "rIdImage" + std::to_string(++m_pictures);
    // Drawing ids must differ across the whole report the fragments are
    // inserted into; figure names do, so the id is made from the name.
    const unsigned number = DrawingId(drawing.value);
    const std::string media = drawing.value + ".png";
    AddRelationship(id, "image", "media/" + media);
    m_parts["word/media/" + media] = found->second;

    pugi::xml_node inline_ = p.append_child("w:r").append_child("w:drawing").append_child("wp:inline");
    for (const char* distance : {"distT", "distB", "distL", "distR"}) inline_.append_attribute(distance) = "0";
    pugi::xml_node extent = inline_.append_child("wp:extent");
    extent.append_attribute("cx") = cx;
    extent.append_attribute("cy") = cy;
    pugi::xml_node properties = inline_.append_child("wp:docPr");
    properties.append_attribute("id") = number;
    properties.append_attribute("name") = drawing.value.c_str();
    properties.append_attribute("descr") = drawing.description.c_str();
    inline_.append_child("wp:cNvGraphicFramePr").append_child("a:graphicFrameLocks").append_attribute("noChangeAspect") = "1";
    pugi::xml_node data = inline_.append_child("a:graphic").append_child("a:graphicData");
    data.append_attribute("uri") = kPictureNs;
    pugi::xml_node picture = data.append_child("pic:pic");
    pugi::xml_node names = picture.append_child("pic:nvPicPr");
    pugi::xml_node names_ = names.append_child("pic:cNvPr");
    names_.append_attribute("id") = number;
    names_.append_attribute("name") = media.c_str();
    names.append_child("pic:cNvPicPr");
    pugi::xml_node fill = picture.append_child("pic:blipFill");
    fill.append_child("a:blip").append_attribute("r:embed") = id.c_str();
    fill.append_child("a:stretch").append_child("a:fillRect");
    pugi::xml_node shape = picture.append_child("pic:spPr");
    pugi::xml_node transform = shape.append_child("a:xfrm");
    pugi::xml_node offset = transform.append_child("a:off");
    offset.append_attribute("x") = 0;
    offset.append_attribute("y") = 0;
    pugi::xml_node size = transform.append_child("a:ext");
    size.append_attribute("cx") = cx;
    size.append_attribute("cy") = cy;
    pugi::xml_node geometry = shape.append_child("a:prstGeom");
    geometry.append_attribute("prst") = "rect";
    geometry.append_child("a:avLst");
  }

  std::string Footer(const DocumentParagraph& footer) {
    pugi::xml_document document;
    pugi::xml_node root = Root(document, "w:ftr");
    DeclareWordNamespaces(root);
    pugi::xml_node p = root.append_child("w:p");
    p.append_child("w:pPr").append_child("w:jc").append_attribute("w:val") = "center";
    for (const Piece& piece : footer.pieces) {
      if (piece.kind == Piece::Kind::Field)
        AppendField(p, piece.value);
      else if (piece.kind == Piece::Kind::Text)
        AppendTextRun(p, piece.value);
      else
        throw WordError("页脚只能有文字和域");
    }
    return Save(document);
  }

  void AddRelationship(const std::string& id, const char* type, const std::string& target) {
    pugi::xml_node relationship = m_relationships.child("Relationships").append_child("Relationship");
    relationship.append_attribute("Id") = id.c_str();
    relationship.append_attribute("Type") = (std::string(kOfficeRelNs) + "/" + type).c_str();
    relationship.append_attribute("Target") = target.c_str();
  }

  static std::string PackageRelationships() {
    pugi::xml_document document;
    pugi::xml_node root = Root(document, "Relationships");
    root.append_attribute("xmlns") = kRelationshipsNs;
    pugi::xml_node relationship = root.append_child("Relationship");
    relationship.append_attribute("Id") = "rId1";
    relationship.append_attribute("Type") = (std::string(kOfficeRelNs) + "/officeDocument").c_str();
    relationship.append_attribute("Target") = "word/document.xml";
    return Save(document);
  }

  static std::string ContentTypes(bool footer) {
    pugi::xml_document document;
    pugi::xml_node root = Root(document, "Types");
    root.append_attribute("xmlns") = ooxml::kContentTypes;
    const auto add = [&](const char* kind, const char* key, const char* value, const char* type) {
      pugi::xml_node node = root.append_child(kind);
      node.append_attribute(key) = value;
      node.append_attribute("ContentType") = type;
    };
    add("Default", "Extension", "rels", "application/vnd.openxmlformats-package.relationships+xml");
    add("Default", "Extension", "xml", "application/xml");
    add("Default", "Extension", "png", "image/png");
    add("Override", "PartName", "/word/document.xml",
        "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
    if (footer)
      add("Override", "PartName", "/word/footer1.xml",
          "application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml");
    return Save(document);
  }

  const FigureSet& m_figures;
  const EquationWriter& m_equations;
  PackageParts m_parts;
  pugi::xml_document m_relationships;
  int m_pictures = 0;
};

unsigned ReadBigEndian(const std::string& bytes, std::size_t at) {
  unsigned value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

PngInfo ReadPngInfo(const std::string& png) {
  static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
  if (png.size() < 33 || png.compare(0, 8, kSignature) != 0 || png.compare(12, 4, "IHDR") != 0)
    throw WordError("图片不是 PNG 格式");
  PngInfo info;
  info.width = ReadBigEndian(png, 16);
  info.height = ReadBigEndian(png, 20);
  // Chunks follow one another: length, type, data, CRC.
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const unsigned length = ReadBigEndian(png, at);
    const std::string type = png.substr(at + 4, 4);
    if (type == "pHYs" && length == 9 && at + 17 <= png.size() && png[at + 16] == 1) {
      info.dpiX = ReadBigEndian(png, at + 8) * 0.0254;  // pixels per metre
      info.dpiY = ReadBigEndian(png, at + 12) * 0.0254;
    }
    if (type == "IDAT" || type == "IEND") break;
    at += 12 + static_cast<std::size_t>(length);
  }
  return info;
}

pugi::xml_node AppendRunFonts(pugi::xml_node properties, const char* latinFont) {
  pugi::xml_node fonts = properties.append_child("w:rFonts");
  fonts.append_attribute("w:ascii") = latinFont;
  fonts.append_attribute("w:hAnsi") = latinFont;
  fonts.append_attribute("w:eastAsia") = "宋体";
  properties.append_child("w:sz").append_attribute("w:val") = "24";
  return properties;
}

PackageParts BuildPackage(const DocumentContent& content, const FigureSet& figures,
                          const EquationWriter& equations) {
  return DocumentBuilder(figures, equations).Build(content);
}

}  // namespace tiecalc
