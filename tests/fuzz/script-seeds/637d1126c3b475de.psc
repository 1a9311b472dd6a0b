loadtexture('tex.tga');
setnewparticletype();
particlecount(many);mass(heavy);
lifelength(abc,2);color(1,x.5,0.25);
particlecount(99.9);
