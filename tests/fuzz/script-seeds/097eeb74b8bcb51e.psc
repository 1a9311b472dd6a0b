COntiniUoUS	(135);setnewparticletype();foo(2147	483648);foo(286.121);
radius(1187.897);textureproperties 2,-1 ;size(2781.773,2856.936);
setnewparticletype  ;(X7f);(-2800);
mode(FALSE);randomsize(1330.817,-1);radius( 1860.591;
gravity(1,5);siz e(536.729,1297);velocity [2549.168,770],[0x10,833.	872],[2249	,521.374] ;
bLendfaCTOr($,-2681.506;setnewparticletype(1434.814);loadTExTUrE('sp ace.tga');

radius(214);inertia	(928.570,1056.433,1e3);force(-2431,2287.791,771);endfadein(64.346);//trailing
position([259,268 5],[839,979],[nan,875.64]);velocity([-2868.493,2741],[inf,2785.911],[390.32,2056.522]);
