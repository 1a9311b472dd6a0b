mass(806.798 );
textureproperties(3,-1);veloCITY([2681	.457,-2147483649],[-2.5e+2,1,5],[1312,2022.130]);
enlargement .5,16777217 ;lifelength(978.41,true);
foRce(-1585.268,-1,124);force(1.2.3,inf,1207.980);endfadein( 1798.97);
// a comment ('with quotes') and (brackets)
mposition(98.393,2970,318.920);parti	clecount(1305);
c ùntinuous(2805.81);//trailing
	setnewma	gnetpoint();forCE(1988,2216.950,0x10);
inertia(0x10,inf,1257.5	9 8);foo;
gravity(1090);gravity(FALSE);beginfadeout();
	foo $1F ;enlargement(2377.956,;randomsize(0,1.5x)	;
velocity([2992.338,3.4e38],[-2526,1864.419],[2940.369,-318]);

foo(2867.941);position([+,-2147483649],[1e39,1903],[1450,1401]);SEtnEwMagNETpOINT();RaNDoMsIZe(923.442,3.4e38);
TExTuREProPE	RTiES(2172,1207.133;te	xture(209);lifelength(577.938,345.232);
se tnewmagnetpoint();particlecount(737.831);color(75.139,2582.475;lo adtexture('');
BlendfaCtOR(1643.138,1,5);lifelength(771,1d62.491);loadtexture(' ');size($,1595.351);
mass(-29 9.444)	;
mass(+); gravity(2776.3	32);
fORCe(2181.465,2632.642,-109.651);sEtne WPArTIcLetyPe();blendfactor($,-94.602);particlecount(2623.748)	;
size(-1358.576,1.5x;
fading 2073,2695 ;
r andomsize(-2.5e+2,inf);blendfactor(2376.94,1329);airresistance(2968);
