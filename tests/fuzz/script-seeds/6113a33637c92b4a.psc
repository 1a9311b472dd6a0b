loadtexture('tex.tga');
mass(1);