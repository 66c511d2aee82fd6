# lb3.doc (fragment 189). Rod check, battened rods: slenderness ratios.

1. "主肢结构长细比：" [equation: λ=(Lμ)/(r)] "；"
2. "主弦单肢长细比：" [equation: λ_{1}=(L_{1}-A_{z}/δ)/(r_{1})]
3. "换算长细比：" [equation: λ_{换}=sqrt(λ^{2}+λ_{1}^{2})]
footer: [field PAGE] " / " [field NUMPAGES]
