loadtexture('tex.tga');
setnewparticletype();
textureproperties(x,4);
setnewparticletype();
textureproperties(0,4);
setnewparticletype();textureproperties(4,4);
setnewparticletype();textureproperties(-1,4);textureproperties(1000,1000);