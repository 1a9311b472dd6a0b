COnTiNIuOUs(1503);velocity([1E-3,5.],[913.706,nan],[-998.792,390.30]);
BLenDFACtoR -2147483649,00012 ;
mASS(-914.463);mposition(0.0000001,775.672,2693.785);enlargement(,-inf);foo(542.581);//trailing
f oo(0.5)endfadein(2438.478)
inertia(2665,-2.5e	+2,X¢f);
mPOsItiOn(1670.861,-1409. 461,.5,inf);lifelength(99999999999,1582);//trailing
randomsize(1.2.3,2383.972);TeXTUReprOpERTIeS(2718.315,2147483648);col or(-998.574,-1e400,1611.727);
inertia(266.166,-2222.358,643.506);color(1,5,-335.640,1331.758);color(1.2.3,1550.685,267);
continiuous(93.155);
radiu s(771);gravity(417);
loadtextu	re('sp ace.tga');inertia;velocity([1e3,300.217],[-2.5e+2,2972],[,1188.530]);
loadtexture;lifelength (2471.628);
m	PoSiTiON(-2147483649,2409,4294967295);enlargement(5.,2050.866);setnewparticletype();enlargement(2147483648,99999999999);
continuous 1576.692 ;size(311.893,771;
(-1512,2767);velocit	y [1e9,2586],[127.796,1063.609],[192,2757] ;texture 1.2.3 ;
setne	wparticletype;s eTNEWparTiCLeTypE();//trailing
position([123.736,3.4e38],[544,2195.244],[255 9,1381.45],[176,0]);FAdiNG(543.797,1.5x);endfadein(2007);
mass(423.97); -1	 ;gravity(2384);fading;
setnewparticletype();cONTiNIuOUs(770);pOsitIon([39.786,nan],[1952.888,2022.52],[2912.475,1510]);
inertia(0x10,1,5,);velocity([-2147483649,1.5x],[-1e400,486.793],[0x10,1345.195]);radius(2183.912);
airresistance(1100.467);position([1483.915,abc],[1608,1e39],[1132.397,320.578],[774.360,0.0000001]);randomsize(899,2431.111);
lifelength(64.209,-1770.434);loadtexture('tex.tga');continiu ous(-inf);size(-1199.966,	512);
gRAvity(-2364,1e9);fading(-	1909,0.0000001);
foo(inf);size(1430.391,abc);
