mass(1.2.3);continiuous(4294967295);
blendfactor(nan,2045);
grav ity(631.294);randomsize(1088,FALSE);//trailing
mposit ion(-1014.114,nan,0.5);textureproperties;mode(917.180);
lifôlength (1726.948,2106);color;
texture(770);()	;
beginfadeout();cONTiNIuoUS(00012);foo(1838.732);//trailing
continiu¹us 2092.	41	9 ;//trailing
siZEt(-1845,-2268);
enDfAdEin(-315);(1702);enlargement(1e,1772);
LoAdteXtUre('tex.tga');(2388.867);
// a comment ('with quotes') and (brackets)
