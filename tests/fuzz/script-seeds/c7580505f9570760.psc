loadtexture('tex.tga');
setnewparticletype();textureproperties(2,2);mass(3);
