# st9.doc (fragment 187). Rod check, laced rods: lacing bars.

1. "3、附着杆缀条稳定性校核"
2. "附着杆侧向力：" [equation: F_{c}=(Aσ)/(85)sqrt((σ_{S})/(235))]
3. "缀条轴力： " [equation: F_{z}=(F_{c}sqrt(a^{2}+((L_{1})/(2))^{2}))/(2a)]
4. [equation: σ_{Z}=(F_{z})/(A_{z}φ_{z})]
footer: [field PAGE] " / " [field NUMPAGES]
