loadtexture('tex.tga');setnewparticletype();textureproperties(1,1);
