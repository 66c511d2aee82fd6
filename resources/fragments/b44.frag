# b44.doc. The calculation book's force method of layout I: 44.frag with its
# wording corrected (the base structure is a 结构, not a 机构).
same as: 44.frag

16. "求基本结构中的各杆轴力" [equation: F_{Pi}(i=1、2、3、4)] "："
29. "求基本结构中的各杆轴力" [equation: F_{Qi}(i=1、2、3、4)] "："
