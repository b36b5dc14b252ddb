^RPX^GFB,4,4,1,

^RPU
^RPM1,1
^RPD
^RPM9,9
^RPU
^RR1,x
^GFB,3,3,1,^RP
^RPM5,5
