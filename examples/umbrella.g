An umbrella in three colours, made for Gridlook.

#d
   0:   white
   1:*  black
   b:%  #2050C0  canopy
   r:+  red      middle panel
: rows
1
2b 1r 2b
3b 1r 3b
3b 3r 3b
1
1
1 1
3
: columns
1b
2b
3b 2
2b 1r 1
1 3r 4
2b 1r
3b
2b
1b
: end
