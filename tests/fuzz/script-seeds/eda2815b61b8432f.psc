particlecount(342.117);fading(1,1	232);

texture(543);velocitú();loadtexture('tex.tga);

foo(FALSE);texture(694.337);/ /trailing
beginfadeout(-1e9);airresistance(2540);mode(114);bEgiNFaDEout(-1e9 );
radius(2905);bLeNdfActoR(1335,-2.5e+2);continiuous(1);continuous(2869);//	traili ng
airresistance(-2584.993;
mode(1.2.3);texture(- 2078.116);radius(-1e9);
setnewpart	icletype()foo(-0);continiuous(-134.525)
// a comment ('with quotes') and (brackets)
bEgiNfAdeOUT(-13	17.499);inertia(00012,0.5,2672.523);lOADTexTUrE('sp ace.tga');velocity([1138.188,2822.565],[1405,2856],[1129.456,2114]);//trailing
aIRReSistANce(1764);//trailing
