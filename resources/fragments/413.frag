# 413.doc (fragment 170). Four-rod report, layout II, third fragment: the same as 43.frag.
same as: 43.frag
