bEGINfADeoUt(-2562.80	4);loadtexture('tex.tga');//trailing
setnewmagnetpoint();beginfadeout(1477.895);
velocity([-1,-1041.879],[1e9,-2694],[-433,248.80]);mode(99999999999);mposition(2212.310,-1e9,2315);lifelength(	283);
continiuous(00012);texture(514);radius(2514.342);
 airresistance(1e9);continiuous(58.136);particlecount(-1e400;
force(+,-2790.503,2292.221);fading(-2764,1.5x);inertia -1,2972.396,190 ;
col	or(-1e400,1e39,1570.325);

blendfactor(-1,2407.77;texture(-1)mode(365);
texture(1311.484;fOrCe(inf,1e3,1.2.3);texture(3.=e38)	;
setnewmagnetpoint();
endfadein(-1e9);velocity([inf,- 1123],[-0,1052.414],[$,inf]);
foo(-477.804);loadtexture('tex.tga';endfadein(89);mposition(-1408.370,2345.167,-1e400);
