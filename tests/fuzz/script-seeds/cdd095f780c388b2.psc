loadtexture('tex.tga');
continiuous(1);