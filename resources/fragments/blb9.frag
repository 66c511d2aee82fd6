# blb9.doc. The calculation book's lb9.frag: the lacing or batten spacing written l_{1},
# apart from the rods' lengths L1..L4 of the force analysis.
same as: lb9.frag

3. "缀板剪力：" [equation: F_{z}=(F_{c}l_{1})/(2a)]
