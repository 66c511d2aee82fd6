# 411.doc (fragment 168). Four-rod report, layout II, first fragment: as 41.frag,
# with the layout II model in its figure.
same as: 41.frag

3. [drawing fig_fourrod2_1: the basic four-rod model of layout II with its parameters]
