# sb1.doc (fragment 192). Rod check, four-limb battened rod: radii of gyration.

1. "整体惯性半径：" [equation: r=sqrt((I_{max})/(A))] "（mm）"
2. "主弦单肢惯性半径：" [equation: r_{1}=sqrt((4I_{1})/(A))] "（mm）"
footer: [field PAGE] " / " [field NUMPAGES]
