14 25 webpbn.com puzzle #21 "Slippery Conditions", by Jan Wolter, (c) Copyright 2004 by Jan Wolter, licence CC-BY-3.0 (marked free to redistribute in the webpbn.com survey)
2 46 9442 1626 152 16 15 14 14 142 146 16442 926 42
9 11 111 131 .13 .13 .13 .13 22 22 - 22 22 22 22 22 22 22 22 22 22 22 22 22 22
