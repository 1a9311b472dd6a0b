loadtexture('tex.tga');
blendfactor(1,1);
setnewparticletype();blendfactor(770,771);
setnewparticletype();blendfactor(-1,1);
setnewparticletype();