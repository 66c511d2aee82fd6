#pragma once
// A named control of a page as text, both ways: what it shows ("0"/"1" for
// a check box, the selection index or the item for a list, the text of an
// edit), and setting it as a user would (a click, a selection, typing).
// The command-line tool and the case file address the pages this way.

#include <string>

#include "pages/Page.h"

namespace tiecalc {

// The page's input of that name, or nullptr.
const NamedControl* FindInput(const CPage& page, const std::string& name);

// What the control shows: a check box "0" or "1"; a list named by index its
// selection index, a list named by values the value of its selection, any
// other list its selected item; an edit its text.
std::string NamedText(const CPage& page, const NamedControl& n);

// The list index that value names, or -1.
int NamedListIndex(const CPage& page, const NamedControl& n, const std::string& value);

// Can the control take value: any text for an edit; "0" or "1" for a check
// box; an index or an item for a list, as NamedText writes it.
bool NamedAccepts(const CPage& page, const NamedControl& n, const std::string& value);

// The values a check box or a list takes, for messages: "0, 1", "0..4",
// "Q235, Q345".
std::string NamedAllowedValues(const CPage& page, const NamedControl& n);

// Sets the control to value as a user would: a check box is clicked when
// its state differs, a list selected, an edit typed into (its change handler
// runs). False, and nothing changes, when the edit is read-only at this
// moment or the value is not one the control takes.
bool UserSetNamed(CPage& page, const NamedControl& n, const std::string& value);

}  // namespace tiecalc
