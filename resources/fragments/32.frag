# 32.doc (fragment 163). Three-rod report, second fragment: heading for the rod angles.

1. "求解各附着杆角度值" [equation: α、β、γ]
