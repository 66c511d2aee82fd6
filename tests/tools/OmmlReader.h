#pragma once
// Reads Office Math back into the linear notation it was written from, so a
// test can compare an equation of a document with its source text. Written
// from the markup's own rules, independently of the compiler.

#include <string>

#include <pugixml.hpp>

namespace tiecalc::test {

// Parses XML keeping text made only of blanks (a run of blanks is content).
inline bool LoadXml(pugi::xml_document& document, const std::string& xml) {
  return document.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata);
}

inline std::string OmmlToNotation(pugi::xml_node node);

inline std::string OmmlChildren(pugi::xml_node node) {
  std::string text;
  for (pugi::xml_node child : node.children()) text += OmmlToNotation(child);
  return text;
}

inline std::string OmmlPart(pugi::xml_node node, const char* name) { return OmmlChildren(node.child(name)); }

inline std::string OmmlToNotation(pugi::xml_node node) {
  const std::string name = node.name();
  if (name == "m:oMath" || name == "m:e" || name == "m:num" || name == "m:den" || name == "m:sub" ||
      name == "m:sup")
    return OmmlChildren(node);
  if (name == "m:r") return node.child("m:t").text().get();
  if (name == "m:sSub") return OmmlPart(node, "m:e") + "_{" + OmmlPart(node, "m:sub") + "}";
  if (name == "m:sSup") return OmmlPart(node, "m:e") + "^{" + OmmlPart(node, "m:sup") + "}";
  if (name == "m:sSubSup")
    return OmmlPart(node, "m:e") + "_{" + OmmlPart(node, "m:sub") + "}^{" + OmmlPart(node, "m:sup") + "}";
  if (name == "m:f") return "(" + OmmlPart(node, "m:num") + ")/(" + OmmlPart(node, "m:den") + ")";
  if (name == "m:rad") return "sqrt(" + OmmlPart(node, "m:e") + ")";
  if (name == "m:nary") {
    pugi::xml_node properties = node.child("m:naryPr");
    pugi::xml_attribute sign = properties.child("m:chr").attribute("m:val");
    std::string text = sign ? sign.value() : "∫";
    const std::string sub = OmmlPart(node, "m:sub"), sup = OmmlPart(node, "m:sup");
    if (!sub.empty()) text += "_{" + sub + "}";
    if (!sup.empty()) text += "^{" + sup + "}";
    return text + OmmlPart(node, "m:e");
  }
  if (name == "m:d") {
    pugi::xml_node properties = node.child("m:dPr");
    pugi::xml_attribute begin = properties.child("m:begChr").attribute("m:val");
    pugi::xml_attribute end = properties.child("m:endChr").attribute("m:val");
    const std::string open = begin ? begin.value() : "(";
    std::string close = end ? end.value() : ")";
    if (open == "{" && close.empty()) close = "}";  // a left brace alone: written {…}
    return open + OmmlPart(node, "m:e") + close;
  }
  if (name == "m:eqArr") {
    std::string text;
    for (pugi::xml_node line : node.children("m:e")) text += (text.empty() ? "" : " ⏎ ") + OmmlChildren(line);
    return text;
  }
  return {};  // properties (m:*Pr, w:rPr) carry no text
}

}  // namespace tiecalc::test
