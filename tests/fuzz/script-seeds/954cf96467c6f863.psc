loadtexture('tex.tga');
setnewmagnetpoint();radius(5);
setnewparticletype();setnewparticletype();setnewparticletype();
setnewmagnetpoint();mode(x);gravity(2);radius(0.5);mposition(1,2,3);
mode(2);gravity(1.5x);
setnewparticletype();