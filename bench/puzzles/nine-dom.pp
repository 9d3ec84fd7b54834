19 19 webpbn.com puzzle #8098 "Domino Logic III (Abstract pattern)", by Josh Greifer, 2010
1 1 13 1 13 1 13 1 13 1 13 1 13 1 13 1 13 1 3
3 1 31 1 31 1 31 1 31 1 31 1 31 1 31 1 31 1 1
