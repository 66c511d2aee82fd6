# b414.doc. The calculation book's force method of layout II: 414.frag with the
# wording of b44.frag.
same as: 44.frag

3. [drawing fig_fourrod2_2: the simplified model of layout II, rods 1 and 2 extended to their intersection P and rods 3 and 4 to Q]
6. [equation: Y_{2t}=((A−D)tanγtanδ+Ctanδ+Btanγ)/(tanδ-tanγ)]
7. [equation: X_{1t}=(Y_{1t}+B)/(tanα)]
8. [equation: X_{2t}=(Y_{2t}+B)/(tanδ)]
11. [drawing fig_fourrod2_3: the layout II base structure under the external loads, with the support reactions at P1 and P2]
16. "求基本结构中的各杆轴力" [equation: F_{Pi}(i=1、2、3、4)] "："
24. [drawing fig_fourrod2_4: the layout II base structure under the unit redundant force X_Q2, with the reactions at Q1 and Q2]
29. "求基本结构中的各杆轴力" [equation: F_{Qi}(i=1、2、3、4)] "："
32. "将上式简化为："
48. "因" [equation: θ_{im}] "同时存在于1、3象限或2、4象限，故" [equation: F_{i}] "的极大值和极小值对应的角度值分别为："
