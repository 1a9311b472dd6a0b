textureproperties(416,+);mposition(nan,0.0000001,1e39);lifelength (-2986.362,-inf);mposition(1618.520,-162,1.2.3);
inertia(0.5 ,X7f,$);color(inf,-0,$1	F);continiuous(343);

// a comment ('with quotes') and (brackets)
particlecount -2369 ;textureproperties(2,3);enlargement(1.5x,2968.87,-528);beginfadeout(1086.367);
part iclecount($1F);//trailing
enlargement(2690,2271.625);
mode(1302.164);
mass(448);mposition(635.84,abc,1965,755)inertia 2369,935,1 ;

setnewpa rti cletype();gravity(-1925.24);

mass(true);texture(0);mass -1600.	153 ;
eNDFAdEIn(99999999999);(16777217);AiRrEsIsTANCe 1974.988 ;
texture(1.2.3);position([1 374,934.706],[1087.860,-0],[882.675,1745.244]);setnewmagnetpoint(-2082)
InErtI	a(00012,1853,335);endfadein(2982);texture();
gravity(178;continuous(3.4e38);SETNewPARtICleTYpe();texture(-745);
b	lendfactor(1,5,2284.32)airresistance(19);moDe(-1611.103);color(-2215.389,-771.896,198.901);
continuous(); radius(7.895);mass();size(1336.460,-214 7483649);
endfadein(.5)enlargement(2147483648,329;radius(-2277);
lifelength(-2070,-inf) ;s etnewmagnetpoint();
set	newmagnetpoint();color(	inf,2979,inf);
continiuous(28	64.473);
lifelength(0x10,1e3);setnewparticletype(;velocity([0,-602],[551.558,2728.609],[1e3,2519]);velocity([0.5,X7f],[-333.715,X7f],[-2.5e+2,1669.83];
