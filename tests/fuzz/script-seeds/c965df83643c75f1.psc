loadtexture('tex.tga');
setnewparticletype;
Mass(2);
MASS(3);particlecount(5);