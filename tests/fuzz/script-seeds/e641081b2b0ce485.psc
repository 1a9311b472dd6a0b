loadtexture('tex.tga');
setnewparticletype();
textureproperties(2,4);
