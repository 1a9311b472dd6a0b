BlEnDFaCToR(1,5,464 );blendfactor(.5,16777217);//trailing
particlecount(5.);setnewmagnetpoint();blendfactor(-1184.971,-1);
randomsize(2710,440);e ndfadein;setneWMAgnetpoiNT(37.4 5);
airresi	stance($);eNdFADeiN(1730);continiuous	(-409);FAding(560.563,1E-3);
beginfadeout(106	7.877)
// a comment ('with quotes') and (brackets)
endfadein(-inf);posItIon([2814,2533],[2360,1490],[-1e400,1.5x]);size(1856.512,2873.789);
velocity([1262,1 ],[1231.832,1648.5q7]);
siz	e(1749.759,1e-50)lifelength(-1451.757,496.490);sizE(1551.380,304.717);(-2885);
loadtexture('tex.tga');continiuous(503.77);enlarg	e ment(1E-3,2129.810);setnewmagnetpoint();
setnewmagnetpo int();enlargement(104.250,1508);
size(1571.240,1707. 523);setnewparticletype(4294967295);continiuous(1e39);
continuous(-228.879);
continiuous(1e);setnewparticletype(1e9);enlargement(58.256,-792);continuous(0x)
continiuous(1.2.3);setnewparticletype;mposition(0x10,163.357,2403.153);position([0x10,inf],[2526.999,700],[131.765,1e-50];
blendfactor(197.202,-2147483649; mpOsiTion(2350,-737.587,2200);mass(-1e400);mass(true);
setnewmagnetpoint();inertia(1637,33.541,true;
mass 1579 ;
continuous(-inf);radius(2853);beginfadeout(2706.600); 
