mposition(1296,true,2147483648);velocity([2467.157,1e9],[2101.959,16777217],[0.5,258]);setnewparticletype(5.);
lifelength(X7f,651);(125.903);enlargement(-1518.266,-936.36);//trailing
force(-562.76,1e,1884);lifelength(2476.631,94);loadtexture;textureproperties(4,1)
velocity([769,567.338],[1136.287,1044.752],[2841,0.0000001]);setnEwMaGnetPoiNt();position([0x10,-50],[557.206,.5],[-inf,620]);
continuous(-2215.399);radius(2249.431);color( 2576.251,2437.295,730);//trailing
continuous(X7f,inf;radius (676.651);
continiuous(763.206);SIZe;particlecount(1e39);continiuous(1E-3);
airresistance(2686);setnew	particletype();
endfadein(1148.367);LiFel	ENgth(1953,2969.20 3);blendfactor;particlecount(0x);
lifelength(872.695,X7f);blendfactor(X7f,-1386.773) ;airresistanc	e(-1318);
enDFadEIN(-304)	;
fading(nan,2314,1355.947);position([0x10,-738.871],[1389,X7f],[648,2465.271]);setnewpa rticle type();force(2917.757,2401,-716.106);
endfadein(16777217);

airresistance(331);
();force(abc,1.2.3,-0; gravity(770);setnewmagnetpoint();
color(2125,-1231.466,874);
end fadein(255,-2152);mode(971);(.5);lifelength;
gravity(1527);//trailing

velocity([552.997,-314],[1466.603,1432.186],[3.4e38,69.631]);cOntiNuoUs(2897;radius(962);
(168  8.208);
particlecount(1.5x;setnewmagnetpoint();velocity([1307,1629.402], [771,-2848],[ nan,2260]);
force(abc,2246,320.21	0,734);radius(-1966);
color(2098.476,-1012.6 22,563.170,inf);
BlEnDFACTor(1,5,$) ;
forc 	e(2011,00012,2785.735);
loadtexture('a)b.tga');Texture(2822);

