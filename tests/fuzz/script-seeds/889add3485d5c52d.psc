
LO	AdTEXTuRE('tex.tga');pArTicLeCoUNt(1183.335	);endfadein(853.163);
texture(937.863);
inertia	(2153.419,1977.183	,2677);continuous(-2.5e+2);
AIRrESIsta	ncE(0x);MaSS(1E-3);

setnewparticletype(469.865);mode(1431.689);s	etnewmagnetpoint(;
loadtexture('a)b.tga');tEXTuREpRoPErtieS(3,2);beginfadeout(494);continuous($1F);
fading($1F,474.70	4);
endfadein(55 5.868);
position([130,2147483648],[16777217,-2368],[-1512,1e3];texture(- 1);fading(-1e400,1139.426);mode(264.381);
fo o(2147483648);//trailing
fading(16777217,-1547.469);enlargement(-608.539,1e)
VeLOciTy([-2443,1.2.3],[1e,1740],[abc,-1e400]);color(294.155,-835.461,1.2.3);continiuous(54.231);
setnewmagnetpoint();particlecount(-2360.857);
eNLArgEme nt(16777217,2576.	964);force( 2477.963,-2031,-1);
beginfadeout(-1052;RADius(0.5);blendfactor(0x10	,1130.954);

enlargement(1725.126,1e3);radius(-inf);lifelength(449,$1F);
fading(0x,1.5x);inertia(nan,-1672,1e9);
randomsize(0x,-1230.314);continiuous;foo(1E-3);(-	2255);
