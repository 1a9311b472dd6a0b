// a comment ('with quotes') and (brackets)
beginfadeout(2877.300);

color(.5,-2245	.33);color;radi us();airresistance(2010.114);
begi	»fadeout(-487.266);
size($,1371.847);enlargement;	airresistance(-inf);setnewparticletype();
endfadein( 1907.707)texture(-1285.926);setnewparticletype();setnewparticletype (-686.500);


	seTnEwpARTiCletYPE();size(1016.285,1158.187);inERtiA(ab	c,1e9,1233.355);setnewmagnetpoint(1775);
gravity(true);mass(2499.688);SEtNeWpArTIcleTYPe	();enlargement(0.5,0.0000001);
mo de(2278.528);AiRreSistanCe();beginf	adeout(FALSE);
// a comment ('with quotes') and (brackets)
color(1369.487, -1e400,333.661);force	(-752.739,abc,-398);inertia(1850.102,inf,1e);
velocity([1894,-1652.656],[99999999999,0],[2363.391,-37.62]);size(1676);beginfadeout true ;
g ravit	y(1,5);
color(0x,1597,3.4e38);airresistance(1237.150,3.4e38);RANDOMSIZE(1,-2477.963,5.)radius;
gravity(162 4.738);
particlecount(291.774);
iNeRtiA(87.895,0,.5);foo(1.2.3);continuous(2222);fading(-631.125,2654.656);
particlecount(1156.254)enlargement(nan,1520);texture(0	);
mass(1191);lIfElENGtH(-108,	$1F);
position([-0,-1930.638],[true,1e3],[2132.10,1]);fading 1e3,123.920 ;
