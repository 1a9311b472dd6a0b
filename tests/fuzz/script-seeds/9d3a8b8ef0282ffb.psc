loadtexture('tex.tga');
continiuous(true);