color(1e3,346.510,0)mp	osition(752,-1070.	765,1881);
enlargement(2514.813,1011.662)beginfadeout(1499);mode(-2273.384);beginfadeout 1.717 ;
blendf	actor(-1815.684,357);
color(1e 3,nan,-2445.898);setnewmagnetpoint();
color(0x,.5,);particlecount(abc);setnewmagnetpoint(2776.820;

 setnewmagnetpoint(;radius(1.2.3);velOcItY([abc,813],[159.622, 2128.799],[$,1581.272]);
// a comment ('with quotes') and (brackets)
modE(10	44.776);
size(-1,1624.231);randoms„ze(1067.89,	.5;
randomsize(2526.97,1210.320);enlargement 181,-908.529  ;
fading(abc,233;TexTure(-1);velocity;continuous(abc);
loadtexture('a;b.tga');mposition(2751,,2565);enlargement(2852.123,2884);
continuous(1.2.3);FaDing(770,1431.197);setnewparticletype();VeLOCitY([2551.891,1.2.3],[-277.59,2956]);
mass(1.2.3);setnewparticletype();

// a comment ('with quotes') and (brackets)
