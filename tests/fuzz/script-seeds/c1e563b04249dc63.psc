position([2950,inf],[$1F,-2147483 649],[-151,451.206]);position([1430.855,+],[2347,X7f],[168	9.960,2310])radius(-1);inertia(1392.545,1613.701,1e9);
	foo(1288.424);setn ewparticletype();
setnewparticletype()FoRCE(.5,729,1042.479);setn	ewparticletype();
(99999999999);gravity(1800.749);fading abc,1318 ;
lifelength(78.179,1819.522)
blendfactor;ve locity;loadtexture('tex.tga');setnewparticletype()
