force(2 620.493,-2599.94,749.877);setnewparticletype(-2147483649=;velocity [2 90.719,2551.832],[5.,2170],[2067,1520.718] ;setnewparticletype();
lifelength(872.171,1.2.3);fading(16777217 ,419);
(-13 5);//tra	iling 
force(2629.130,1E-3,2147483648;ENDfADeIN(2563.422);velocity([1e-50,inf],[666.172,2324.331],[469,1,5]);fading .5,771 ;
size(2147483648,131.329);position([3.4e38,129.366],[$1F,1582],[918.856,-2.5e+2]);mod e(-111);inertia(inf,957.322,-2147483649);//trailing
beginfadeout(2765.140);MASS(2776);
velocity([$1F,-2727.52],[1648,2676.139],[	2832,-1039]);FaDiNg(+,-2992);
airres	istance;mode(2490.937);mass(2549);blendfactor(2556,458.523);
GraVitY(2439.476,-623.727);position;part	iclec ount(772.184,0.5)
setnewmagnetpoint(-1059);continuous(-249.8	88,-2934.675);
gravity 1 ;size(1 ,319.746);
gravity(2618.175);mass( 1710.483,2147483648);blendfactor(610.744,99999999999) ;
endfadein($1F);foO(-121);radius(2116);setnewparticletype();
position([ 907.328,300.477],[1e-50,1525],[abc,1e3]);MODE 1 ;blendfactor(1e9,-265 5);
particlecount(5.);continiuous(1606.167);inertia(1e	3,1 879,-1e9);
inertia(-1899,1597.122,-2147483649);continiuous(1805.218,2159.143)randomsize;inertia(3.4e38,-108.675,nan)
radius(814);color(16777217,-0,530.229);airresistance -854.938 ;
setnewparticletype();particlecount(3.4e38);color(1850,1460.801,5.);
mass(535);
loadtexture('missing.bmp');mposition(2889.954,.5,+);textureproperties(nan,1,5;//trailing
setnewparticlety pe(;mposition(0.5,-2147483649,1480);
MODe(-2850.779);
// a comment ('with quotes') and (brackets)
size(true,1258,2558);mposition(00012,286.885,1e9);aiRresisTancE(2822.546);
setnewpart i cletype();fading(abc,2387);set newmagnetpoint()continiuous(1502);
