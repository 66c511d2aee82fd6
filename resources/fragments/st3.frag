# st3.doc (fragment 184). Rod check, laced rods (two and four limbs): slenderness ratios.

1. "附着杆主肢结构长细比：" [equation: λ=(Lμ)/(r)] "；"
2. "附着杆主弦单肢长细比：" [equation: λ_{1}=(L_{1})/(r_{1})]
3. "附着杆缀条长细比：" [equation: λ_{z}=(sqrt(L_{1}^{2}/4+a^{2}))/(r_{z})]
4. "附着杆换算长细比：" [equation: λ_{换}=sqrt(λ^{2}+40(A)/(2A_{z}))]
footer: [field PAGE] " / " [field NUMPAGES]
