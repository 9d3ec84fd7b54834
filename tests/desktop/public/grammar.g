// A grammar for sums of numbers, as a parser generator reads it.
grammar Sum;

sum  : term ('+' term)* ;
term : NUMBER ;

NUMBER : [0-9]+ ;
WS     : [ \t\r\n]+ -> skip ;
