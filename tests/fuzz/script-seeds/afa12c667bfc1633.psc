enlarg	ement(49 6.694,+);
mposition;foRCe(inf,2077.59,740);texture(2961);teXtU	rE -2	147483649 ;
// a comment ('with quotes') and (brackets)
setnewparticletype();setnew	particletype()gravity(1964.975);
coNtINUoUs(-2.5e+2);lifeleng 	th(-346,$);lifelength(1e-50,715);//trailin	g
par¤iclecount(981.476);
liFeLeNGth(261);sEtNEwmaGnetPoinT();force;inertia(-1e9,2003,206.480);
setnewmagnetpoint(697);radius .5,-1080 ;LoaDteXTUre('x.jpg');randomsize(2465.792,0;
tEXtuRe(2224.747);force(1463.303,0,1952.85-);endfadein(1057.593);veloCITY [1981,2902.105],[abc,1,5],[1553.980,2935.139] ;
position([2757.146,FALSE],[-2.5e+2,657.479],[1473.900,2700.841]);beginfadeout(1929.879);beginfadeout(0.5);
color(2642.42,1e3,	-1e9);loadtexture('missing.bmp');setnewparticletype();
fading	(375.636,994);foo(1409.629);
setnewparticletype;airresistance(2 983.830);texture(-1e400);force(538,1.2.3,608.66);
continuous(-2147483649);radius();force(1375.154,877,1905.809);
// a comment ('with quotes') and (brackets)
endfadein(2701.259);blendfactor(1.2.3,.5);
texture(2041);loadtexture('a)b.tga');blendf	actor(2974.246,0x10,-1068);
// a comment ('with quotes') and (brackets)
continiuous(-113.91 8);mass(-0);gravity(2147483648);
loadtexture(tex.tga);
(-1);velocity([2662,417 .725], [1e,598],[840.465,806]);setnewmagnetpoint();



position([2326.512,FALSE],[-2104.63,629],[-2923,950]);radius(	-2147483649);
radius(2622.710);position([587,735],[	-2640.640,770]);force(2790,0x,96.216);
