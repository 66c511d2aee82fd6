# 42.doc (fragment 166). Four-rod report, layout I, second fragment: heading for the rod angles.

1. "求解各附着杆角度值" [equation: α、β、γ、δ]
