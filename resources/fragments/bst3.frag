# bst3.doc. The calculation book's st3.frag: the lacing or batten spacing written l_{1},
# apart from the rods' lengths L1..L4 of the force analysis.
same as: st3.frag

2. "附着杆主弦单肢长细比：" [equation: λ_{1}=(l_{1})/(r_{1})]
3. "附着杆缀条长细比：" [equation: λ_{z}=(sqrt(l_{1}^{2}/4+a^{2}))/(r_{z})]
