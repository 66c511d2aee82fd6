# 414.doc (fragment 171). Four-rod report, layout II, fourth fragment: the force
# method as in 44.frag, with the layout II geometry, two wordings and the
# layout II figures.
same as: 44.frag

3. [drawing fig_fourrod2_2: the simplified model of layout II, rods 1 and 2 extended to their intersection P and rods 3 and 4 to Q]
6. [equation: Y_{2t}=((A−D)tanγtanδ+Ctanδ+Btanγ)/(tanδ-tanγ)]
7. [equation: X_{1t}=(Y_{1t}+B)/(tanα)]
8. [equation: X_{2t}=(Y_{2t}+B)/(tanδ)]
11. [drawing fig_fourrod2_3: the layout II base structure under the external loads, with the support reactions at P1 and P2]
24. [drawing fig_fourrod2_4: the layout II base structure under the unit redundant force X_Q2, with the reactions at Q1 and Q2]
32. "将上式简化为："
48. "因" [equation: θ_{im}] "同时存在于1、3象限或2、4象限，故" [equation: F_{i}] "的极大值和极小值对应的角度值分别为："
