

continiuous(2682);particlecount(1e-50);
AirReSisTanCe(1683);
enlargement(-1191.38	3,-1620.980);lifelength (624.215,1e9);
force(2144,2	61,true);textureproperties;
	aIrresistAnCe(2704.387);endfadein(-2147483649);
endfa dein(2795.11);mposition(1e-50,-488.28 9,42949	67295)continiuous(-2345);airresistance(-1497.963);

SEtneWpArTicLeTYPe(2607.872);force(1939.865,1771.596,-814.560);continuous(1711.217);(2012.356);
randomsize(4294967295,1969.344)gravity(-1568;inertia( 1,1235.880,771);
teXTUre(2094.520);texture();
beginfadeout(2454);beginfadeout();foo(1e3);//trailing	
