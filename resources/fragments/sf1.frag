# sf1.doc (fragment 176). Rod check, solid-web rod: overall radius of gyration.

1. "附着杆整体惯性半径：" [equation: r=sqrt((I_{max})/(A))] "（mm）"
footer: [field PAGE] " / " [field NUMPAGES]
