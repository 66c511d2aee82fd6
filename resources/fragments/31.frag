# 31.doc (fragment 162). Three-rod report, first fragment: the calculation model and its figure.

1. "三杆式附着的计算模型"
2. "下面(图一)给出三杆附着的基本模型，并给定相关的参数："
3. [drawing fig_threerod_1: the basic three-rod model with its parameters]
4. "(图一)"
