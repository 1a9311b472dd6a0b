loadtexture('tex.tga');
fading(maybe,true);
fading(false,perhaps);