all: sum

sum: sum.c
	cc -o sum sum.c
