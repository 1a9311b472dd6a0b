continiu ous(48);blendfactor(726.878,-48.810);
setnewmagnetpoint();

// a comment ('with quotes') and (brackets)
size(2866.780,1);
loadtexture('sp ace.tga');MPOsiTIon(-2613.715,1e3,2768.252);beginfadeout(1394);

blenDFacTOR(nan,-1);continuous(-2363);//trailing
force(.5,0x10,1275);

textureproperties(- 2242.502,297.906);continiuous(-11	04);
randomsize;texture(770);vElOcITy([2771,1763.142],[1e39,351.147],[-1e9,419]);force(+,-2473,-124.773);
LiFELenGTH(1653.200,-1852.944);loadtexture 'tex.tga ;mass(2206.437);radius(479.754);//trailing
beginfadeout(788.706);force(1390,-0,.5);mode(-2307.856);continuous(0);

randomsize(327.54,1466);continuous(2794.443)mposition(770,770,0x10);
// a comment ('with quotes') and (brackets)
beginfadeout(FALSE)setnewmagnetpoint();//trailing
radius(898);position([978,2319],[0,1552.809],[1653.215,0x10]);setnewparticletype()textureproperties(553.199,-2	373);
foo(940.433);
b	lendfactor(-113,1008)	;gravity(1e-50);force;
foo( 1256.157	);pOsi	tIOn([1119,-474.760],[-1e9,718.651],[2693,true]);
con	tiniuous;TExturE(1e3,1230.672);
enlargement(1E-3,1512.261);setnew magnetpoint();gravity(1291.69;
