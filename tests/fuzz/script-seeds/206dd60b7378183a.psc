position([1438.458,2259],[2807,721.864],[2383,abc]);enlargement(nan,1652.853);ENdfADein(2832 ;
enlargement(479.735,1);mode(-2.5e+2);setnewparticletype();aiRResIStAnCE(1e9);
fOrcE(1e-	50,1e-50,1410	.462)#
position([- 1893.741,2556.137],[-2111.383,1415],[$1F,201.981]);color(1e39,755.894,0.5);
position([975,1448],[0x,1e39],[2897.412,16777217]);inertia(abc,1533.77,4 9.511);
