# sf5.doc (fragment 180). Rod check, every form: section modulus.

1. "附着杆抗弯模量" [equation: W=(I)/(h)] "(mm^3)"
footer: [field PAGE] " / " [field NUMPAGES]
