#pragma once
// The calculation book as one document, numbered in heading styles: a cover
// with the project block and signature lines, the contents, the standards
// it applies, the summary with the reasons of each failing check, the load
// cases, each distinct section once, then for every level its layout (the
// force analysis as the page's report writes it, with a plan drawn to
// scale), the extremes and chart of every case, each rod's check as one
// table (the full derivation under the first rod of its section), the wall
// reactions, and the conclusion. It goes through the save dialog and the
// report course of the page reports (footer, atomic replacement, the path
// left as it was when the book cannot be finished).

#include "book/Book.h"
#include "platform/dialog/Desktop.h"

namespace tiecalc {

inline constexpr const char* kBookTitle = "塔式起重机附着计算书";
inline constexpr const char* kBookFileName = "计算书";

// Refuses (a message box, nothing written) when the book cannot be made;
// asks before going on from unreadable fields of the force page or the
// rod-check page; otherwise asks for the path and writes the book there.
// Returns what became of it.
OutputOutcome WriteCalculationBook(const CForcePage& page, const CRodCheckPage& section, const CaseBook& settings,
                                   IDesktop& desktop);
OutputOutcome WriteCalculationBook(const CForcePage& page, const CRodCheckPage& section, IDesktop& desktop);
// The same with the book already computed from those pages and settings
// (ComputeBook).
OutputOutcome WriteCalculationBook(const CForcePage& page, const CRodCheckPage& section, const CaseBook& settings,
                                   const CalculationBook& book, IDesktop& desktop);

}  // namespace tiecalc
