#pragma once
// The XML namespaces of a word-processing package, shared by the document
// and the package builder.

namespace tiecalc::ooxml {

inline constexpr const char* kContentTypes = "http://schemas.openxmlformats.org/package/2006/content-types";
inline constexpr const char* kPackageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr const char* kOfficeRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kWordMain = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr const char* kMath = "http://schemas.openxmlformats.org/officeDocument/2006/math";
inline constexpr const char* kWordDrawing = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
inline constexpr const char* kDrawingMain = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr const char* kPicture = "http://schemas.openxmlformats.org/drawingml/2006/picture";
inline constexpr const char* kMarkupCompatibility = "http://schemas.openxmlformats.org/markup-compatibility/2006";

}  // namespace tiecalc::ooxml
