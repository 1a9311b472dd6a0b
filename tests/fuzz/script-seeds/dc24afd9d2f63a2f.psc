velocity([625. 528,-339.621],[inf,29	59],[0x,2925.879]);loadtexture('x.jpg');textureproperties(1,-1);
mode(-2562);lifelength(650.568,1724);loadtexture('');particlecount(2491.121);
randomsize(-	1432,nan)
blendfactor(1183.350,1477);
texture(2145);foo(-1,1e9);AiRReSIsTancE 1204 ;setnewmagnetpoint();//trailing
setnewmagnetpoint();position([-2.5e+2,-2663],[-2899,1e],[-772.865,2961]);continiuous(-3 5);
randomsize(33.582,2824);blendfactor 1287,0x ;lifele ngth(.5,1E-3);continiuous(1324;
gRAvIty(770	);beginfadeout(1682.285);
loadtexture('tex.t ga');lifelength( 180.254,00012);velocity([2268.813,403],[.5,770],[0,1569.40]);position([2141.217,1807.710],[2888,FALSE],[2517.240,2344]);
radius(-327.476);position([-inf,1,5],[227.228,0x10],[inf,2242]);
blENDfaCTOr(-2815.873,-1,2167.298);grav ity(494);SETnEWmAgneTPoiNt(-2.	5e+2);
SetnEwMaGNETpoINt();setnewmagnetpo int  ;
position([482.58,2144.86],[303.712,00012],[1039,-2798.52]);setnewparticletype();textureprope rties(0,5);lifelength 82,0.5,16777217 ;//trailing
	beginfadeout(1e3);contINUous(1000);
loadTeXtURe('a;b.tga');force(nan,00012,1);radius(2733);setnewparticletype();
