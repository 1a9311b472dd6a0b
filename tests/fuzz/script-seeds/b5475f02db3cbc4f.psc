loadtexture('tex.tga');
setnewparticletype();
velocity([1,2],[3,4],[5,6]);position([-1,.5],[0,0],[7,8]);
velocity([9,9],[9,9]);
