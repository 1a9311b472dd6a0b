loadtexture('tex.tga');
continuous(true);
continiuous(1.0);
fading(true,false);