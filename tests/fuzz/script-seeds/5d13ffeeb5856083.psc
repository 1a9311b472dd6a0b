exture(4	51);
MoDe();lifelength(443.756,+);gravity 1e3,-2175 ;beginfadeout(1668);//trailing
loadtexture(tex.tga) ;texture(2771);endfadein($);blendfactor(1877.669,nan);
mass();
setnewparticletype 1E-3 ;mode(.5);
(641.	263) ;
randomsize(	211 6,-2322);
randomsize(inf,	758);cOnTINUOUs 1 ;BEGiNfAdeOut(-inf);
setnewmagnetpoint  ;setnewparticletype(1.5x,2301.642);
foo(809.590);endfadein(tr ue);airresistance(899);fading(FALSE,$);
sIze(FALSE,425.452);//trailing
(1e-50);mposition(2580,-351.595,1);size;velocITy([.5,597.67],[1089,5.],[2196.960,-1]);
 gr avity(-43);
beginfadeout;velocity([279,1e],[1e9,1937],[1217.774,-2163.318];air resistance(2223);textureproperties(-1,4);
setnewparticletype();continuous(-1e400);foo -2022 ;mass(529.250);
GRaViTy(1315);
