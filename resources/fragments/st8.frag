# st8.doc (fragment 186). Rod check, lattice rods: stability of one chord limb.

1. "2、附着杆主弦单肢稳定性验算："
2. [equation: σ_{1}=(F)/(Aφ_{1})]
footer: [field PAGE] " / " [field NUMPAGES]
