# blb3.doc. The calculation book's lb3.frag: the lacing or batten spacing written l_{1},
# apart from the rods' lengths L1..L4 of the force analysis.
same as: lb3.frag

2. "主弦单肢长细比：" [equation: λ_{1}=(l_{1}-A_{z}/δ)/(r_{1})]
