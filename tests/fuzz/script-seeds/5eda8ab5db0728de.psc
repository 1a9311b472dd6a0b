randomsize(2566 .730,1219);endfadein(0.5);MPOSITIoN(1.2.3,2603.690,2542);
gravity(1e);velocity([1e3,2818],[948,-2147483649], [FALSE,1873.553])textureproperties(3,4);
color(-1947.823,$,19.504);continiuous(abc);
fading(1e3,2100.503);randomsize(1.5x,2759);radius(1793.472);mpositio n(704,350,1975.741);
setnewparticletype(-2514.733);
color(771,-1e9,-2749);lifelength(1e,1e-50);textureproperties(- 1177,0.0000001,$);
l oadtexture('tex.tga');set	newmagnetpoint(); 
endfadein 1e-	50 ;continiuous(-2.5e+2);
// a comment ('with quotes') and (brackets)
position([458,1823.153],[-773,FALS E],[430.572,2048.860]);
radius(574);setnewp	articletype();
setnewmagnetpoint(;foo(115);force(1823.300,1276.789,1360.558);mposition(-1882,1218.122,0.5);
// a comment ('with quotes') and (brackets)
gravity(1498.966);size(1866.77,F ALSE);inertia(2928.918,430.969,0x);
textureproperties(3,0)continiuous(1244);FOo;
continiuous(1769	.180);lifelength(2976,00012); mass(1E-3;//trailing
 setnewmagnetpoint(;
conti nuous(2501);position	([1,5,$],[1351,82],[-1e9,197]);size;
gravity(-1588);force(1539.426,1570,1783);continuous 2902.257 ;
setnewmagne	tpoint();mode(-inf) ;setnewparticletype();enlargement(1264.9,1181);
modE(42	94967295);
(331.547);
