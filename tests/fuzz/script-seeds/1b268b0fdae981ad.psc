textureproperties(2,1)
mass(2944.993);setnewparticletype();sETNeWPArTiclEType();setnewmagnetpoin t ();
continiuous();CONtiNUous(1e3);endfadein(117.103);	foo(abc;
continuous 2698.690 ;endfadein(606.681);mposition 1e,-877,710.210 ;ConTInUOus(87.781);
randomsize( -	1159.295,1e3);
veLOciTy([2764.665,2687],[1834,1205],[2618,1554.257])position([-2147483649,],[-1878.881,1e-50],[0,abc]);
endfadein(2703.329);continiuous(-2078.413);endfadein(2733.616);

VEloCity;foo	(-inf);setnewmagnetpoint();for	ce(1602.490,75,2780);
continiuous(2999.244);radius(1462.259;bEGINfaDEOut(-1014.26);loadtexture(tex.tga);
position([1779.666,1720],[0.5,2631	.700],[1.2.3,0x10]);FoRce(841.360,5.,1106,1758);cOlor;
textureproperties(1	,0);mposition(216,-2892.993,0x);airresistance(236.433);size(1.5x,2402.129);
bLeNdfactOR(646	,-2	032.105;randomsize(147,1914.711);mode(-1e9);randomsize(1,-568.756);
foo(928.7);position([$1F,-1879],[5.,1],[4	294967295	,2372]);size(955.33,1097.80)
setnewparticletype(;force(2374,1156.695,0x);
setnewparticletype();enlargement(-1030.150,-1e9;
mposition(1E-3,1007,0x);
co ntini$ous(1257.720);
size(1.5x,147 7.276)foo(2322);setnewmagnetpoint();foo(5.);//trailing
loa	dtexture('');eNlARGeMENT(nan);textur eproperties(0,2);blendfactor 1313.362,391.761 ;
mOdE(.5);gravi ty();
 foo(429496729 5;
gravity(16777217);(1798.915);l ifelength(776);
mode(767);setnewmagnetpoint(770);mode $ ;
continiuous(5.,8.707);mass(16777217);FORce(99999999999,1089,-1);
texture(0x );//trailing
color(639.269,0.5,2558.202);//trailing
position 	[2425.9,882.824],[1262,271.720],[16777217,2500.240] ;setnewmagnetpoint();mass(2767.328);
