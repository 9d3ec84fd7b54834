#############################################################################
##
#F  SumOfSquares( <list> ) . . . . . . . . the sum of the squares of a list
##
SumOfSquares := function( list )
    return Sum( list, x -> x^2 );
end;
