loadtexture('tex.tga');
setnewparticletype