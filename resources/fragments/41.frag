# 41.doc (fragment 165). Four-rod report, layout I, first fragment: the analysis model and its figure.

1. "四杆式附着的分析模型"
2. "下面(图一)给出四杆附着的基本模型，并给定相关的参数："
3. [drawing fig_fourrod1_1: the basic four-rod model of the layout with its parameters]
4. "（图一）"
