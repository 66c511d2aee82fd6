# sf6.doc (fragment 181). Rod check, solid-web rod: Euler critical load.

1. "欧拉临界载荷" [equation: F_{e}=(π^{2}EA)/(λ^{2})] "(N)；"
footer: [field PAGE] " / " [field NUMPAGES]
