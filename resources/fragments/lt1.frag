# lt1.doc (fragment 191). Rod check, two-limb laced rod: radii of gyration.

1. "整体惯性半径：" [equation: r=sqrt((I_{max})/(A))] "（mm）"
2. "主弦单肢惯性半径：" [equation: r_{1}=sqrt((2I_{1})/(A))] "（mm）"
3. "缀条惯性半径：" [equation: r_{z}=sqrt((I_{z})/(A_{z}))] "（mm）"
footer: [field PAGE] " / " [field NUMPAGES]
