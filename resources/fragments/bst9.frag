# bst9.doc. The calculation book's st9.frag: the lacing or batten spacing written l_{1},
# apart from the rods' lengths L1..L4 of the force analysis.
same as: st9.frag

3. "缀条轴力： " [equation: F_{z}=(F_{c}sqrt(a^{2}+((l_{1})/(2))^{2}))/(2a)]
