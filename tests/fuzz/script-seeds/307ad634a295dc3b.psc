loadtexture('tex.tga');
continiuous(TRUE);