endfadein(86	9);()
color(1452,+,1794.379);textureproperties(1,1);size(-1059,1,5);paRTIcLeCoUNT;
fading(2788,2147483648);
 mode(560);	
lifelength(2236,770)foo + ;VelocIty([1921.826,770],[-2632.973,1716.364],[255,1815.501]);
c	ontiniuous 0.0000001 ;
texture();endfadein();position([372.803,abc],[inf,-517]);

tEXTURePROpErtiES(3,4) 1 .2.3 ;
blendfactor(1129.580,-1865);position [1224,true],[356.782,298.643],[2438,-2302.670] ;
// a comment ('with quotes') and (brackets)
RaDIus(2081; 
texture(2772.68);loadtexture('a;b.tga');
continiuous(1019.648);

continuous(1219);//tra iling
endfae in 1709.337 ;randomsize(99999999999,1877.239,1237.470;radius(1e39)
force(-1050,-1,1275);
// a comment ('with quotes') and (brackets)
position([-0,-643.513],[1,2147483648],[2350.834,-2147483649]);velocity([2795.641,-986.152],[1562.132,2055],[1e39,999999	99999]);beginfad	eout(-1e400);
textureproperties(1378,3.4e38);setnewparticletype();enlargement(2867,2557.324);inertia(-598,5.,5.)	;
