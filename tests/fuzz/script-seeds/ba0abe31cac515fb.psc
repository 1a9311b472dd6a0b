loadtexture('tex.tga');
setnewparticletype();setnewmagnetpoint();
textureproperties(2,4);
blendfactor(x,771);
mposition(q,1.5,2);
blendfactor(770,y);
textureproperties(q,z);
