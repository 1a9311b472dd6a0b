// a comment ('with quotes') and (brackets)
setnewparticletype  ;mode(1774.572);TEXTURePropERTiEs(-1,2);airresistance(-1	111.952);
enlargement(3.4e38,2755.657;velocity([1500,00012]);
inertia(470,474.946,75);fOo(2553.153);foo(2450);gravity 0 ;
setnewmagnetpoint(1926.354;(1e9);
pARTICLEcOUNt(1202.280,734.828);mposition(855,$1F,inf);mode(-1516);color(-259.674,1833.543,1	e-50);
randomsize(-inf,753.447);mass(-344);force(2707.817,-654,588.650);

size 1E-3,1286.532 ;setnewmagnetpoint();endfadein(341.636);position([abc,1.2.3],[1,5,0x],[2417.796,2937.504]);
force(0,0.00	00001,770);

force($,-971.451,2352.358);endfadein(-1430.366)	;force(2154.689,638.104,2889.493;lifelength(235.927);//trailing
inertia -123,FALSE,724 ;force(2949,2463,in	f);airresistance(1523);fading(2463.561,538	.363);
airResIStAnCE(-2934.3 15);

textureproperties;
(+);enlargement (-1286.204,349);endfadein(1737.311);randOMSI	ze (-2147483649,.5);
foo(293.52);SizE(99999999999,1e39);position([$,-2468],[1e -50,FALSE],[1685,2188.412]);

force(-1e400,2248.681,492.560);enlargement(2957.509,2	221);
continuous(5 27)particl ecount(131 3);
particlecount(2136)beg	infadeout(-0);
foo(-1081);blendfactor(-1,1574,297 3);
FORCE(1700,2201.838);inertia(4294967295,FALSE,1365);
