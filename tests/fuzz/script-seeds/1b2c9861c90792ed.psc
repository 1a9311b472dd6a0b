
foo;size(1953,$1F);foo(2612,-0); 
sETNEWpArTICLetypE();enLaRGeMenT(1.5x,16777217);	blendfactor(-667.641,2755	);mposition(,977.301,2719.155);//trailing
// a comment ('with quotes') and (brackets)
// a comment ('with quotes') and (brackets)
RANdoMsIZe(1818,-1e400);
randomsiz e(321,1205.231 );forcE(-316.418,-36	6.102,16777217);
randomsize(0,1869);continuous(+);contin uous(1640.732);blendfactor(268.51,2796.68);
textureproperties(2,0)blendfactor(1841,-inf);mposition(-287.765,1459,1914.497);inertia(2814,-1e400,0.0000001);
textureproperties(2,5);continu o us -2147483649 ;foo(1061);setnewparticletype(;
velocity([.5,832.561],[0x10,1416],[-2094.844,1071]);
