# 412.doc (fragment 169). Four-rod report, layout II, second fragment: the same as 42.frag.
same as: 42.frag
