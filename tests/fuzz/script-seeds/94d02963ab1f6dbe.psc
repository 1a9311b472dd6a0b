loadtexture('tex.tga');
// don't call size(1,2) twice
