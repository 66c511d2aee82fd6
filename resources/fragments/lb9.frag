# lb9.doc (fragment 190). Rod check, battened rods: battens.

1. "3、附着杆缀板校核"
2. "附着杆侧向力：" [equation: F_{c}=(Aσ)/(85)sqrt((σ_{S})/(235))]
3. "缀板剪力：" [equation: F_{z}=(F_{c}L_{1})/(2a)]
4. "缀板弯矩：" [equation: M_{z}=(F_{z}a)/(2)]
5. "缀板抗弯模量：" [equation: W_{z}=(2I_{z}δ)/(A_{z})]
6. "缀板拉应力：" [equation: σ_{z}=(M_{z})/(W_{z})]
7. "缀板剪应力：" [equation: τ_{z}=(1.5F_{z})/(A_{z})]
8. "缀板复合应力：" [equation: σ_{z复}=sqrt(σ_{z}^{2}+3τ_{z}^{2})]
footer: [field PAGE] " / " [field NUMPAGES]
