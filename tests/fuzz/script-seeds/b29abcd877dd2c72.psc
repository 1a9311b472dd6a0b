mode(2398.174);SEtNE	WpartIcLeTyPe;setnewparticletype();
textureproperties(3,3)	;particlecount;mode(-2912.867);
begi nfade out(-302.193,1482.192);size(00	012,-1474);foo(+);
particlecount(511.131);lifelength(X7f,-0);enLaRGEMeNt(198.304,1e9);
// a comment ('with quotes') and (brackets)
gravity(1676.582)continuous(412.662);
mass(-805.586);size(623.489,-1e400,5.);foo(-2827.979);
v	elocity([210o.32,0]); 
fading(2042,2482.711)gravity(89);
loadtex	ture('tex.tga');textureproperties(1,5);color(803.697,680.842,1671.752);
setnewparticletype(	);fading(-2772,2130);velo city([771,771],[-858.436,2690.581],[0.5,99999999999]);fading;//trailing
// a comment ('with quotes') and (brackets)
velocity([-1886,2520.533],[1,5,770],[1994.135,235.251]);//trailing
mposition 0.0000001,1e39,1995.625 ;in ertia	(-559,1919.869,1004.345);TeXTUre($);
radius (-183.761);MASS(2687);GRavItY(1595;cOntInUous(2 904.502);
 -21474 83649 ;continuous(495);setnewparticletype();
enlargement(771,2901);mposition(1249.342,1574.652,1823.416);randomsize;
continiuous(0);mpositio	n(771,1824.960,2241.787);//trailing
lositIoN([635.648,1831.696],[-2529.62,2237.553],[-0,88]);position([-1,2690],[638,2733.43],[1191.419,2226]);pArtiClecounT(1E-3);textureproperties(828,2756.664);//trailing
textureproperties(2,3);position([2989.69,713.408],[-264,1918.39 ],[-2460.95,2243.792]);
setnewparticletype(-998);par	ticlecount(2606) ;textureproperties(1,4);fOO(541.625);
