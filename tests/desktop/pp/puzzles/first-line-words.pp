5 5 drawn by hand 
5
1
1
1
1
5 1 1 1 1
