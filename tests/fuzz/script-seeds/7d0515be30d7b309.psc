size(2141.643,1992.98 4);mposition(-1804.324,-1858,2756.340);mass;airresistance(-175.622);
setnewparticletype(3 .4e38)
gravity(0x);posi	tion([302,9	9999999999],[inf,-0],[-1441,-1661.569]);radius(697.664);fading(1e3,$1F;
// a comment ('with quotes') and (brackets)
grAvitY (1565);
(-2604);texture(-inf);loadtexture(' a;b.tga');
RadIUS(0x);gravity(-2147483649;radius(-115.165);
randomsize(1765,108.347);loadtexture('a;b.	tga');

color(-108.613,2642,1,5);cOntINUoUS 126	5.235 ;enlargement(2018.5,911,84);
