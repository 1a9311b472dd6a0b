endfadein(288.599);	
TeXTURepropeRTieS(5,-1);radius(2372.573);
loadtexture('tex.	tga');randomsize(-2177.900,324.19);

size(2959.287,00012	);(37.580);endfadein($);lOaDTEXTurE('tex.tga);
force(162.113,.5,52.240;gravity(-1e9);color(135.804,2726.50,257);SetnEwPaRTICLeTYPE();
set	newparticletyp	e();
setnewmagne tpoint ();color(79,29,226.264);
// a comment ('with quotes') and (brackets)
