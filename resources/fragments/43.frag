# 43.doc (fragment 167). Four-rod report, layout I, third fragment: heading for the rod lengths.

1. "求解各附着杆长度值" [equation: L_{1}、L_{2}、L_{3}、L_{4}]
