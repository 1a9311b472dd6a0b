setnewparticletype();
textureproperties(4,4);
