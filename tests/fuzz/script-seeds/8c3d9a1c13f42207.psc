loadtexture('tex.tga);force(1956.794,nan,2024.488);
($);force(2147483648,1e3,1168.994);INERtiA(2151.99,2368. 160,$1F)
beginfadeout(2261.53);setnewparticletype();gravity	(	-2.5e+2);
size(	3.4e38,FALSE);blendfactor(486,2726);setnewparticletype();enlargement(1176;
se	tnewparticletype();radius();mass(-1e9);
position([1E-3,3.4e38],[706.141,-1311.232	],[3.4e38,+]);//trailing
blendf actor(2807, 2861.840);mODe(0);
SiZe;position([-604,771],[-1e9,1720],[125	4.884,2812]);loadtexture('tex.tga);COLor;
setnewparticletype();fading(-2376,2711;gravity(-1042);setnewm agnetpoint();
lifelength(1e3 9,2169);setnewparticletype();rad ius(2736)

Size(0x,1576.682);textureproperties(-1,4);enlargement(-1889,771;mode(567)//trailing
particlecount($);setnewparticletype();
particlecount(2335);fading(-2861,1791.61);

fading(+,$);	
setnewparticletype()texturepropertie	s(3,4);
// a comment ('with quotes') and (brackets)

size(10 6.613,1966.633);pArTicLecOunT();force(-1e9,0.0000001,771);foo(612);
blendfactor(2257.685,1853);enlargement(2702.163,1698);continuous 2489 ;
velocity();foo(-2265.419);INErtia(771,2091,$);
mposition 5.,-2488,-2444.855 ;setnewpartic	letype();force(455.659,-1883,2150.339);
gravity(2549);setnewparticletype();vEloCIty [299,687],[$1F,2797],[1640.708,2417] ;
color(-1224.133,-1239.389,460 .576);foRcE(574.795,771,true);
fa ding(2Õ84,-2.5e+2);//trailing
randomsize(244.347,1E-3)textureproperties(1885.973,2340);beginfadeout(72.112);
Yading(1344.736,1489;
