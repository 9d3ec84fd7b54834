10 11 webpbn.com puzzle #23 "Nonrepresentational Test Pattern", by Jan Wolter, 2004
1 3 1 22 2 4 1 3 3 1
1 3 1 2 1 3 3 1 2 2 4
