# sf2.doc (fragment 177). Rod check, every form: effective-length factor.

1. "根据" [equation: (I_{min})/(I_{max})] "和附着杆变截面型式确定计算长度系数" [equation: μ]
footer: [field PAGE] " / " [field NUMPAGES]
