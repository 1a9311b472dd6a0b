blendfactor(95,abc);inertia(-834.625,0x,2761.869);
setnewmagnetpoint();mass(1858.794);(+);
continuous(155	 1);color(2879,-inf,1817);textureproperties(2,2);m	ode($1F);
continuous(00012);foo(210);(652.841);mode( 1629);//trailing
MASs(1E-3 );endfadein(-1934.125;
fading(1404,1998)foo(1947.137);fading;
fading(942	.181,191.306);setnewparticletype(1);

blendfactor -2564, ;fading;sETNEWmAGNeTpOI NT($);fading(0x10,1.5x);
force(1847,2954,11	33.10 9);
fading(1780.231,1765.474);particlecount(2957);foo(1802.519);inertia(+,3.4e38,106.633);
modE(770);foo($1F);
cOlOr(258,1178.97,3.4e38);grAvity(769.941);lifelength(2729) ;setnewmagnetpoint  ;
setnewparticletype();setnewparticletype(); force(-2074,2481.806,FALSE);//t railing
setnewmagnetpoint ();
inertia(228,1962,357);force(1704,1995,27 76);position([2747,910.932],[-1,2961.627],[2308.919,-1]	);
BlenDfacTOR(1e-50,1257.481);SeTNEWPARtIcleTYPE();setnewparticletype ;con tiniuous(99999999999);

// a comment ('with quotes') and (brackets)
