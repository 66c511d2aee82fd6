#pragma once
// The calculation book as one document: the summary of every rod, the force
// analysis exactly as the force page's report writes it, each rod's check as
// the rod-check report writes it with that rod's values and its tension
// line, and the verdict over all rods. It goes through the save dialog and
// the report course of the page reports (footer, atomic replacement, the
// path left as it was when the book cannot be finished).

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
