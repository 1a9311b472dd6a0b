foo(553.924);inertia(-2147483649,2688.354,1511);
loadtexture '' ;setnewparticletype(-2  08);
random	size(-1821.181,652.560);mode(-1749);mass(2739);
(-1443.628);setnewparticletype(;s	etnewp	articletype();texture(0x1 0);
conti niuous(27	38.372);radius;//trailing
setnewparticletype();airresistance(.5);bEGinFADEOUT(2170.975);
LOaDtextUre('missing.bmp');randomsize(	FALSE,-2334.211);//tr	ailing
foo(1214	.56);radius;
force(-2407,1e9,2745.707);mode(2212.30);force(1e39,464.30 5,21.42,+)
blendfactor(2564,nan,1e);inertia(-190.40,370.718,294);LoAdtextUre('sp ace.tga');beginfadeout(-776);
blendfactor(FALSE,0x);texturepro	perties;position([-2472.745,$1F],[812,4294967295],[4294967295,2274.705]);
te	xture(826.899);
textureproperties(1,1);mposition(2147483648,-1536.283,00012)mass(2302);(1	396.609);
blendfactor 771,1.2.3 ;
continuous(1816.528,-1018);fading(744.967,1791)TexTuREpropertieS(4,3);airresistance(1956);
FOo	($);size(abc,2842);setnewparticletype();size(5.,1.5x);
endfadein;
loadtexture('missing.bmp');

velocity([1201.866,98 3.939],[0.0000001,1622.67],[48.835,2819.296]);mode(2574);mode(true);
radius(567);inertia(1513.463,0.5,807.487);particlecount(1245.45);textureproper	ties(-399.466,5.);
// a comment ('with quotes') and (brackets)
mode(-0);
enlargement(0,757.453);force(-1e9,0x10,1e9);blen	DFaCtor(2945,-170.725);teXTURE(109.198);
begi	nfadeout(-2328);graVitY(2612);texture(480);//trailing
endFADeI	n(+;
