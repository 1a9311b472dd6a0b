(-inf);fading 1391.436,-207 2.775 ;continiuous(811);continuous (1845.991;
force(-0,0.00000	01,536);setnewparticletype();PArtiCLecoUNt(1490.262);inertia;
setnewparticletype();//trailing
(1e-50);pArtiCLECOunt(	);
fading;position([-81.254,nan],[-2007,3.4e38],[-1e400,1429]);continiuous(962.894);loadtexture('');
size(303 .464;
mass(2739.545);foo(;
 rand	omsize(2692.532,678);;(-912.407);
text	ure($);;	//trailing
radius();contin	uous(2725.270);position([105.192,475.422],[	974,9999999	9999],[1e-50,-2466.704]);endfadein(-2133.131);
// a comment ('with quotes') and (brackets)
mode(1372);loadtexture('sp ace.tga');force(abc,-1606.293,-2147483649);
elargemen	t(3.4e38,16777217);enlargement(1,);
setnewparticletype();mode(0x);continiuous	(1e-50);
lifelength(912,197.294);loadtexture('missing.bmp');SeTnewParTICLEtYpe(;beginfad eout(0.0000001);
continuo	us(1.2.3);

// a comment ('with quotes') and (brackets)
color 786,1703,abc ;
// a comment ('with quotes') and (brackets)
particlecount( 1525.213);MAss(-25	42.208)randomsize(42 94967295,-1065.112);

raDIus(1674);conTiNiUoUS(1e)position([-inf,00012],[53 0.532,2147483648],[0.5,99999999999]);
continiuous(1968);color(+,- 0 ,747.303);
mode(0x10);setnewparticletype();VeLoCITY([657.604,21]);
inert	ia(20 64,2355.925,1833.319);
