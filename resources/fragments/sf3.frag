# sf3.doc (fragment 178). Rod check, solid-web rod: slenderness.

1. "附着杆结构长细比：" [equation: λ=(Lμ)/(r)]
footer: [field PAGE] " / " [field NUMPAGES]
