# st6.doc (fragment 185). Rod check, lattice rods: Euler critical load with the converted slenderness.

1. "欧拉临界载荷" [equation: F_{E}=(π^{2}EA)/(λ_{换}^{2})] "(N)"
footer: [field PAGE] " / " [field NUMPAGES]
