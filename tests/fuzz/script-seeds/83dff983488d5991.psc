loadtexture('tex.tga');
loadtexture(fire.bmp);
loadtexture('a;b.bmp');
loadtexture('a)b.bmp');
loadtexture('my fire.bmp');
loadtexture('x.png');