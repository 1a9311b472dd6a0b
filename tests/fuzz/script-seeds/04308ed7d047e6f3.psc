velocity([770,1e-50],[1e9,603],[2144.4	98,-2280.855];bleNDFaCtOR(2113,770);
mposition(1243,220,0.5);radius(-2899) ;


mass(478);
position([0.00	00001,2823.269],[-0,1324],[FALSE,15	9]);
gravity(368.623);//trailin	g
FOo(75 0.978 );
mass(1.5x);color(X7f,,2813.953);foo(-1602.450);
radius(1081.334);beGINFadEout(2773.853);continiuous(0)loadtexture('sp ace.tga');
velocity();
force( 1195,-2147483649,1602.678);
gr	avity(1.2.3);(-1033.971);
mposition(609.767,1879.169,0);
 fo	rce(256,1,5,1e39);//trailing
position;RAdIuS;randomsize(1.5x,0.0000001);velocity([1505,2 938],[770,-229.797],[-1719.59,inf]);//trailing
randomsize(4294967295,647.636);//trailing
foo(746.96);position();
color(-2147483649,1. 2.3,$1F);texture(1972.270)
continiuous(1886) ;mass(-991.873)force(-1e9,515.484,164	4);
// a comment ('with quotes') and (brackets)
lifelength 0.5,-1168.350  ;part	iclecount(1E-3);
force(0x10,0x,-0);radius(-2314.475);
texture;endfadein(1e9;inertia(2700,.5,2297);
SETNEwpaRtICLetype();mass(	-200.743) ;
TexTUrEPRoPErTiEs(771,1650.341);force(0x	,21474 83648,2971);
velocity([-1,-1713.730],[	.5,-818.790],[2963.1 69,891.704]);foo(0x10);lifelength(466.698,00012);//trailing
airresistance(0.0000001,25 86.186);foo(2659.822);;
particlecount(1601.78);setnewparticletype ();
inertia(2147483648,2862.716,$);airresistance(+);randomsize(2667,1674;lifelength(2443.797,-2147483649);
