// a comment ('with quotes') and (brackets)
enlarg ement  951,2986.243 ;enlargement;//trailing
position;continuo	us(-2507;
particlecount(1.2.3);mode(2079);
 cOnTIniUOuS(+) ;ENDFAdEiN(1	.5x);
endfadein(770);foo(+)randomsize(inf,FALSE);continiuous(-2459.596);
setnewmagnetpoin	t();setnewparticletype(2081.845);particlecount(-inf);endfadein(2731.813);
continiu ous(-2026.904);mposition(770,-1349,468.739);color(2677.788,3.4e38,44.184);(,2756);
setnewmagnetpoint();
mode(771);pOsitIOn([2633.437,2818],[1e39,1241.703]);
setnewparticletype  ;texture(-2412.997);
mode(2534);ma	ss(2525.928);//trailing
// a comment ('with quotes') and (brackets)
randomsize(770,1.5x	);

setnewparticletype(-818.261);force(2108,nan,817.165);
(2893 );
velocity( [139.380,16777217],[412,2149],[2206.521,$]);continiuous 1e-50 ;mass(2381);loadtexture('sp ace.tga');
foo 674,-2732 ;  ;position([5.,13],[-0,539],[-	0,625.341];
ra	dius(nan);ra dius(1706);
setnewparticletype();pARtiClECoUnt(00012);continuous(1740);position([770,770],[16777217,1255]);
endfadein;Tex	tuReProPeRtiEs(4,5);
fading(1e9,1209);loadtexture('a)b.tga');velocity([2589,-154.942],[1e,866]);f orce(99999999999,1771,1908.869);
mpOsItION(,.5,+);seTNEwPaRtiCLEtYpe();
textureproperti es(1:3);
// a comment ('with quotes') and (brackets)
// a comment ('with quotes') and (brackets)
