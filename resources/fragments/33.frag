# 33.doc (fragment 161). Three-rod report, third fragment: the derivation of the rod forces and of their extremes.

1. "求解" [equation: H_{t}、X_{1t}、X_{2t}、A_{t}、B_{t}、C_{t}]
2. "三杆附着属于静定结构,附着杆受力大小与附着杆长度无关,分析中可将各附着杆延伸至距塔身中心线H处的一条线上，同时为了计算的方便,可将(图一)简化为以下(图二)："
3. [drawing fig_threerod_2: the simplified model, every rod extended to the line at distance H from the mast centre line, with the points P and Q]
4. "(图二)"
5. [equation: t=((A+D−C)(tanαtanβ))/(tanα−tanβ)+B−H]
6. [equation: Ht=H+t]
7. [equation: X1t=X1+(t)/(tanα)]
8. [equation: X2t=X2+(t)/(tanγ)]
9. [equation: Ct=(X2tanγ−(X1−X3)tanβ)/(tanβ+tanγ)]
10. [equation: Bt=B−(D−Ct)tanγ]
11. [equation: At=X1−(H−Bt)/(tanα)]
12. "求解附着杆内力" [equation: F_{1}、F_{2}、F_{3}]
13. "对Q点取矩： " [equation: M_{Q}=0]
14. [equation: F1=(RCtsinθ+RBtcosθ+M)/(sinα(At+Ct))]
15. "对P点取矩： " [equation: M_{P}=0]
16. [equation: F3=(RX1tsinθ−RHtcosθ−M)/(sinγ(X1t+X2t))]
17. "根据" [equation: ∑y=0]
18. [equation: F2=(Rsinθ((At+Ct)(X1t+X2t)−Ct(X1t+X2t)−X1t(At+Ct)))/(sinβ(At+Ct)(X1t+X2t)) ⏎ −(Rcosθ(Bt(X1t+X2t)−Ht(At+Ct)))/(sinβ(At+Ct)(X1t+X2t))−(M((X1t+X2t)−(At+Ct)))/(sinβ(At+Ct)(X1t+X2t))]
19. "求解附着杆内力极值对应的θ角度值" [equation: θ_{1m}、θ_{2m}、θ_{3m}]
20. "因θ同时存在于1、3象限或2、4象限，"
21. [equation: F_{1}] "的极大值和极小值对应的角度值分别为："
22. [equation: θ_{1m1}=arctan((Ct)/(Bt)) ⏎ θ_{1m2}=arctan((Ct)/(Bt))+180°]
23. [equation: F_{2}] "的极大值和极小值对应的角度值分别为："
24. [equation: θ_{2m1}=arctan(((At+Ct)(X1t+X2t)−Ct(X1t+X2t)−X1t(At+Ct))/(Ht(At+Ct)−Bt(X1t+X2t))) ⏎ θ_{2m2}=arctan(((At+Ct)(X1t+X2t)−Ct(X1t+X2t)−X1t(At+Ct))/(Ht(At+Ct)−Bt(X1t+X2t)))+180°]
25. [equation: F_{3}] "的极大值和极小值对应的角度值分别为："
26. [equation: θ_{3m1}=arctan(−(X1t)/(Ht)) ⏎ θ_{3m2}=arctan(−(X1t)/(Ht))+180°]
27. "求各附着杆内力极值"
28. "因扭矩M分顺时针和逆时针方向，同时R力在上图方向可为正值和负值，当R为正值时针对" [equation: θ_{im1 }（i=1、2、3）] "在一、二象限应取|M|，针对" [equation: θ_{im2 }（i=1、2、3）] "在三、四象限应取-|M|；当R为负值时针对" [equation: θ_{im1 }（i=1、2、3）] "在一、二象限应取-|M|，针对" [equation: θ_{im2 }（i=1、2、3）] "在三、四象限应取|M|。"
29. "最后将各附着杆内力极值对应的θ角度值" [equation: θ_{1m}、θ_{2m}、θ_{3m}] "分别带入" [equation: F_{1}、F_{2}、F_{3}] "求得各附着杆的内力极值。"
30. "    求得各附着杆内力极值及对应的θ角度值如下："
