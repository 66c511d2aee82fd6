# 44.doc (fragment 164). Four-rod report, layout I, fourth fragment: the force method.

1. "求解" [equation: Y_{1t}、Y_{2t}、X_{1t}、X_{2t}]
2. "四杆附着属于一次超静定结构,为了计算的方便,在过程分析中可将(图一)简化为(图二),但超静定结构中附着杆受力大小与附着杆长度和变形相关，为了保证计算的准确性,各附着杆延长段仅作传递轴力的作用，不产生变形，而在计算时必须使用各附着杆的实际长度。"
3. [drawing fig_fourrod1_2: the simplified model, rods 1 and 2 extended to their intersection P and rods 3 and 4 to Q]
4. "（图二）"
5. [equation: Y_{1t}=((A−D)tanαtanβ+Ctanα+Btanβ)/(tanα-tanβ)]
6. [equation: Y_{2t}=((F−E)tanγtanδ+Ctanδ+Btanγ)/(tanδ-tanγ)]
7. [equation: X_{1t}=(Y_{1t}+B)/(tanα)+A]
8. [equation: X_{2t}=(Y_{2t}+B)/(tanδ)+F]
9. "求解基本结构受外载荷单独作用"
10. "作为一次超静定结构，首先我们取去除XP2力的结构为基本结构，此时各杆轴力仅为结构内力，见(图三)："
11. [drawing fig_fourrod1_3: the base structure under the external loads, with the support reactions at P1 and P2]
12. "（图三）"
13. "求P1、P2点支反力："
14. "由" [equation: ∑x=0; ∑y=0; ∑M_{P1}=0] "解方程组得："
15. [equation: {X_{P1}=Rcosθ ⏎ Y_{P1}=(RsinθX_{2t}+RcosθY_{1t}+M)/(X_{1t}+X_{2t}) ⏎ Y_{P2}=(RsinθX_{1t}-RcosθY_{1t}-M)/(X_{1t}+X_{2t})}]
16. "求基本机构中的各杆轴力" [equation: F_{Pi}(i=1、2、3、4)] "："
17. "取基本结构中的P1、P2点为研究对象，根据" [equation: ∑x=0； ∑y=0] "解方程组得："
18. [equation: {F_{p1}=(1)/(X_{1t}+X_{2t})((X_{2t}cosβ)/(sin(α-β))Fsinθ-((X_{1t}+X_{2t})sinβ-Y_{1t}cosβ)/(sin(α-β))Fcosθ+(cosβ)/(sin(α-β))M) ⏎ F_{p2}=(1)/(X_{1t}+X_{2t})(-(X_{2t}cosα)/(sin(α-β))Fsinθ+((X_{1t}+X_{2t})sinα-Y_{1t}cosα)/(sin(α-β))Fcosθ-(cosα)/(sin(α-β))M) ⏎ F_{p3}=(1)/(X_{1t}+X_{2t})(-(X_{1t}cosδ)/(sin(δ-γ))Fsinθ+(Y_{1t}cosδ)/(sin(δ-γ))Fcosθ+(cosδ)/(sin(δ-γ))M) ⏎ F_{p4}=(1)/(X_{1t}+X_{2t})((X_{1t}cosγ)/(sin(δ-γ))Fsinθ-(Y_{1t}cosγ)/(sin(δ-γ))Fcosθ-(cosγ)/(sin(δ-γ))M)}]
19. "将上面四式简化为："
20. [equation: F_{Pi}=(1)/(X_{1t}+X_{2t})（P_{Ai}Fsinθ+P_{Bi}Fcosθ+P_{Ci}M） （i=1、2、3、4）]
21. [equation: {P_{A1}=(X_{2t}cosβ)/(sin(α-β)) ⏎ P_{B1}=-((X_{1t}+X_{2t})sinβ-Y_{1t}cosβ)/(sin(α-β)) ⏎ P_{C1}=(cosβ)/(sin(α-β))}] (10 blanks) [equation: {P_{A2}=-(X_{2t}cosα)/(sin(α-β)) ⏎ P_{B2}=((X_{1t}+X_{2t})sinα-Y_{1t}cosα)/(sin(α-β)) ⏎ P_{C2}=-(cosα)/(sin(α-β))}]
22. [equation: {P_{A3}=-(X_{1t}cosδ)/(sin(δ-γ)) ⏎ P_{B3}=(Y_{1t}cosδ)/(sin(δ-γ)) ⏎ P_{C3}=(cosδ)/(sin(δ-γ))}] (20 blanks) [equation: {P_{A4}=(X_{1t}cosγ)/(sin(δ-γ)) ⏎ P_{B4}=-(Y_{1t}cosγ)/(sin(δ-γ)) ⏎ P_{C4}=-(cosγ)/(sin(δ-γ))}]
23. "求解基本结构受" [equation: X_{Q2}=1] "单独作用时的各附着杆轴力"
24. [drawing fig_fourrod1_4: the base structure under the unit redundant force X_Q2, with the reactions at Q1 and Q2]
25. "（图四）"
26. "求Q1、Q2点支反力："
27. "由" [equation: ∑x=0; ∑y=0; ∑M_{Q1}=0] "解方程组得："
28. [equation: {X_{Q1}=1 ⏎ Y_{Q1}=(Y_{1t}−Y_{2t})/(X_{1t}+X_{2t}) ⏎ Y_{Q2}=(Y_{2t}−Y_{1t})/(X_{1t}+X_{2t})}]
29. "求基本机构中的各杆轴力" [equation: F_{Qi}(i=1、2、3、4)] "："
30. "取基本结构中的Q1、Q2点为研究对象，根据" [equation: ∑x=0； ∑y=0] "解方程组得："
31. [equation: {F_{Q1}=(1)/(X_{1t}+X_{2t})×((Y_{1t}−Y_{2t})cosβ−(X_{1t}+X_{2t})sinβ)/(sin(α-β)) ⏎ F_{Q2}=(1)/(X_{1t}+X_{2t})×((X_{1t}+X_{2t})sinα−(Y_{1t}−Y_{2t})cosα)/(sin(α-β)) ⏎ F_{Q3}=(1)/(X_{1t}+X_{2t})×((X_{1t}+X_{2t})sinδ+(Y_{1t}−Y_{2t})cosδ)/(sin(δ-γ)) ⏎ F_{Q4}=(1)/(X_{1t}+X_{2t})×(−(X_{1t}+X_{2t})sinγ−(Y_{1t}−Y_{2t})cosγ)/(sin(δ-γ))}]
32. "我们可将上式简化为："
33. [equation: F_{Qi}=(1)/(X_{1t}+X_{2t})Q_{i} （i=1、2、3、4）]
34. [equation: {Q_{1}=((Y_{1t}−Y_{2t})cosβ−(X_{1t}+X_{2t})sinβ)/(sin(α-β)) ⏎ Q_{2}=((X_{1t}+X_{2t})sinα−(Y_{1t}−Y_{2t})cosα)/(sin(α-β)) ⏎ Q_{3}=((X_{1t}+X_{2t})sinδ+(Y_{1t}−Y_{2t})cosδ)/(sin(δ-γ)) ⏎ Q_{4}=(−(X_{1t}+X_{2t})sinγ−(Y_{1t}−Y_{2t})cosγ)/(sin(δ-γ))}]
35. "求解未知力" [equation: X_{Q2}]
36. "根据结构中Q2点的X方向位移为0，根据虚功原理建立力法方程："
37. [equation: δ_{11}X_{Q2}+Δ_{1P}=0]
38. "其中" [equation: E_{i} ，A_{i}] "分别为第i根附着杆的弹性模量和截面积，"
39. [equation: δ_{11}=∑_{i=1}^{4}(F_{Qi}^{2}L_{i})/(E_{i}A_{i})]
40. [equation: Δ_{1P}=∑_{i=1}^{4}(F_{Pi}F_{Qi}L_{i})/(E_{i}A_{i})]
41. [equation: X_{Q2}=−(Δ_{1P})/(δ_{11})=−（X_{A}Fsinθ+X_{B}Fcosθ+X_{C}M）]
42. [equation: {X_{A}=(∑_{i=1}^{4}(P_{Ai}Q_{i}L_{i})/(E_{i}A_{i}))/(∑_{i=1}^{4}(Q_{i}^{2}L_{i})/(E_{i}A_{i})) ⏎ X_{B}=(∑_{i=1}^{4}(P_{Bi}Q_{i}L_{i})/(E_{i}A_{i}))/(∑_{i=1}^{4}(Q_{i}^{2}L_{i})/(E_{i}A_{i})) ⏎ X_{C}=(∑_{i=1}^{4}(P_{Ci}Q_{i}L_{i})/(E_{i}A_{i}))/(∑_{i=1}^{4}(Q_{i}^{2}L_{i})/(E_{i}A_{i}))}]
43. "求解原结构中各附着杆内力"
44. [equation: F_{i}=F_{Pi}+F_{Qi}X_{Q2}(i=1、2、3、4)]
45. [equation: F_{i}=(1)/(X_{1t}+X_{2t})（A_{i}Fsinθ+B_{i}Fcosθ+C_{i}M）]
46. [equation: {A_{i}=P_{Ai}−Q_{i}X_{A} ⏎ B_{i}=P_{Bi}−Q_{i}X_{B} ⏎ C_{i}=P_{Ci}−Q_{i}X_{C}}]
47. "求解原结构中各附着杆极值及其对应的θ值"
48. "因" [equation: θ_{im}] "同时存在于1、3象限或2、4象限，" [equation: F_{i}] "的极大值和极小值对应的角度值分别为："
49. [equation: θ_{im1}=arctan((A_{i})/(B_{i})) ⏎ θ_{im2}=arctan((A_{i})/(B_{i}))+180°]
50. "因扭矩M分顺时针和逆时针方向，同时R力在上图方向可为正值和负值，当R为正值时针对" [equation: θ_{im1 }（i=1、2、3、4）] "在一、二象限应取|M|，针对" [equation: θ_{im2 }（i=1、2、3、4）] "在三、四象限应对取-|M|；当R为负值时针对" [equation: θ_{im1 }（i=1、2、3、4）] "在一、二象限应取-|M|，针对" [equation: θ_{im2 }（i=1、2、3、4）] "在三、四象限应取|M|。"
51. "最后将各附着杆内力极值对应的θ角度值" [equation: θ_{1m}、θ_{2m}、θ_{3m}、θ_{4m}] "分别带入" [equation: F_{1}、F_{2}、F_{3}、F_{4}] "求得各附着杆的内力极值。"
52. "    求得各附着杆内力极值及对应的θ角度值如下："
