color(1e39,160,257.708);beginfadeout(-83.60 0);SETNewPartiCLETYpE();radius(589	.746);
setnewparticletype();ContiNUoUS(1799.393);setnewparticletype();mode(1163);
airresistance(1);inertia(3.4e38,1e9,2650.943);texture(1,5);
enlargement(-1366.762,1.5x);size(2927.61,2514.571);textureproperties(2,-1);Size(2808.860,99.601);
setnewparticletype(00012)	;setnewmagnetpoint  ;setnewmagnetpoint(FA LSE);

beginfadeout(1e); cONTIniuOUS(2629);

loadtexture('tex.tga');/	/trailing
size(164,-1284);LifeLENgTH;foo(-2255.792);a	irresistance(0); 
inertia(X7f,,1830);loadtexture(	'missing.bmp');size 0x,770 ;Mass(1e3);
continiuous(2648);fading(0x,-2592.556);airresis		tance(-951.775);velocity([$,1069.254],[933.777,-1],[-inf,1102.336]);
(1110.325);setnewmagnetpoint	();
continuous(-i	nf);
fading;endfadein(1e39)position([1952.340,16 21]);continiuous(1983);
(	nan);BLENDfactor(1531,771);randomsize(2952,2709);
// a comment ('with quotes') and (brackets)
particlecount(1,5) ;blen	dfactor(770,2830.837);
cONtIN	I	uoUs(1997;
texture(1783.76);mode(115.311);EndfaDeiN(2774.294);

// a comment ('with quotes') and (brackets)
randomsize(2729.663,2454.104);mas	s(1543.396);particlecount(1262.759);
radIUs();
