setnewmagnetpoint(); 
texture(1048);pOSiTion([-2967.910,435.402],[0x,-1826.670],[1294,772.766]);setnewparticletype(0x10);enlargement(1508,);
continiuous -2890.8 ;endfadein( 1982;COloR(1796,	770,inf);velocity([1e3,111.723],[1419,true],[2436.210,-1]);
beginfadeou	t 99	1 ;textureproperties(2147483648,902);
force( 00012,-inf,2949.923);gravity;
mPoSitIOn(2147	483648,4294967295 ,2235);force(2456,1683.305,);
	enlargement(00012,.5);
particlecount();CoNtiniUOUs(2808.499);gravity(2606);life length(1874,-1e400);
radius(176.191)	;vElOCiTy([2178.866,770],[-2827.879,0.5],[2030.886,2776]);(-2316.273);
blendfactor(2417,-1e9);force;texture(0.5;
enlargement(-1447,7.772	);velocity([1167.213,1034.376],[-434.511,1107.847],[1608,-0]);
// a comment ('with quotes') and (brackets)
enlargement(2680,-1786)loadtexture('');sETnEwmAGnEtpoinT();
setnewparticletype()radius(-724)loadtexture('tex.tga') ;
velocity([-410,-119.47]);foo  -inf ;
en	dfadein(2410);loadtexture('a;b.tga');
color(2037,2851.76,1e39);

RANdomSiZE(0x	,18 30.115);inertia(1E-3,88,2514.575);color(-2644,2290.480,.5);
c	oLOr(1e-50,-1,-1);BeginFaDEOUt(2422.324);
ENdfAdein(1,5);endfadein(1388.876);mode(0.00000 01);
cONtINIuôUS(737.714);endfadein(1268);AIrrEsiSTance(2230.353);life	length(750.217,-41.353);
