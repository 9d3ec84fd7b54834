An anchor in two colours, made for Gridlook.
: rows
1
3
1
1 1 1
3
: columns
1
1 1
5
1 1
1
: end
