randomsize(-1007.626,2968.295);randomsize(-2619.832,-1361);//trailing
textureproperties(-1,3;eNLarGeMEnt(-493.746,1,5);loadtexture('sp ace.tga')size(2298,$1F);//trailing
velocity([-0,-2147483649],[120,1.2.	3],[1632.347,2226.735]);MPOsItIOn(151.765,$,2302);mode(1626);
foo;velocity([1282,0x10],[388.147,2990.604], [99999999999,2774])enlargement(-1809.656,- 935.978);gravity(4294967295);

contin	uou s(0.5);texture(0x10);
tExtu REpRoPErTies(3,0);airresistance(2982.505);inertia(-2823,$1F,1	020.902);
foo 2568.229 ;f	orce(771,1,329.402);ColoR(1,-1891.989,1287);
LoADTexTurE(tex.tga);particlecount(-1874);//trail ing
ENDfadEIn(63.26) ;
continiuous(34);force(0,-1624.545,-1669.330);setnewparticl etype()	;setnewparticletype();
randomsize;fading(150	0.483,5.);loadtexture(tex.tga);
// a comment ('with quotes') and (brackets)
blendfa ctor(770 ,16777217);EndfAdeIn(1e39);

// a comment ('with quotes') and (brackets)
