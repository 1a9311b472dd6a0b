textureproperties(00012,1566);color(inf,2536.540,0.5);con tiniuous;
textureproperties(1,4);end	fadein;setnewparticletype();	mode(-1957);

force(1E-3,,-1e400);foo(623.876);
endfad	ein(-2912);position([16777217,157.791],[+,2330],[795.799,1e3];endfadein(79.871);
velo ci	ty;foo(-1e400;ran	domsize(302.763);
fading(0x10,1.2.3)randomsize(1008,0x;gravity(.5);//trai ling
// a comment ('with quotes') and (brackets)
color(2522,-2791,5.);continuous(1662,2020.558);mode(4294967295);
t3xtu reproperties(1e-50,2090);
i	nertia(1622.636,0.00000	01);fading(0.5,2765);
setnewparticletype();velocity([1015.181,295 4],[-0,2248],[-1592.74,2718]);
COntINuouS(0x);

textureproperties(5,3);/	/trailing
conTinIUoUS(1781.267);
radius(2437.530);mass;endfadein(1e);particlecount(1511);
setnewparticletype();gravity(85);randomsize 0.5,abc ;airresistance(inf);
