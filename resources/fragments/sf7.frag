# sf7.doc (fragment 182). Rod check, every form: overall stability.

1. "1、附着杆整体稳定性验算："
2. [equation: σ=(F)/(Aφ)+((1)/(1-(F)/(0.9F_{E})))(M)/(W)] (1 blanks)
footer: [field PAGE] " / " [field NUMPAGES]
