color(1e3,0.5,1671.424);textureproperties(1955.688,0.5);radius 2816 ;radius(1511);
	force (704,-310.471,0.5,nan);
// a comment ('with quotes') and (brackets)
fading(0x,395.72);endfadein(0);loadtexture('a)b.tga'){
loadtexture('tex.tga');	(146.901);mass(2099.863);(160.340);
color(-1432,7 71,1e-50);
