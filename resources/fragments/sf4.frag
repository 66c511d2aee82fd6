# sf4.doc (fragment 179). Rod check, every form: bending moment from the rod's own weight.

1. "附着杆自重产生的弯矩" [equation: M=(10GL)/(8)] "（N.mm）；"
footer: [field PAGE] " / " [field NUMPAGES]
