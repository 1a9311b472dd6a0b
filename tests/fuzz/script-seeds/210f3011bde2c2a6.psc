radius(4294967295);color(2148.779,1e3	9,-709);	
gravity(1772.818);setnewmagnetpoint  ;forCE(2147483648,2215.727,9.927)//trailing
texture(abc);setnewparticletype(	;
inertia(-947.873,319	,1e3);inertia( 257 7.349,1660.74,805);mAss(-inf);
airresistan	ce(-2740.179);size	;

enlargement(-2624.407,1467.174;MOde(2337.21);randomsize(702.258,912);
textureproperties(2,-1;beginfadeout(1981)textureproperties(2369.722,-1359.229);blendfactor;
setnewparticletype(.5);blendfactor (-1165.803,-221.979);POsITion([1,2731],[FALSE,1943],[2861,-1274]);
enlargement(2624,	-1182.718);texture;
airresistance();velocity([1E-3,99999999999],[2997.599,2894.254],[+,770]);gravity(-2643.559);position([-1860.145,99999999999],[1028,2073.216],[935.393,1256.477]);
randomsize( -2876.354,1E-3);mposition(.5,1107.104,1621.63)endfadein 474.186 ;size(652.561,662.635);
// a comment ('with quotes') and (brackets)
