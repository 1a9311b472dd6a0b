lifelength(132.991,2410); 2200.36 ;f	oo(-2802.44);
enlargement(1822.27,-238);lifelength(-2827.59,-26.793);position([inf,2796.734],[-2679.513,-134.35],[384,1704.843]);
lifelength(1936,1510.990;mode(nan);gravity(00012);foo(-2316.273)

setnewparticletype 1.5x ;seTNewMaGnEtpoINt(); 237.834 ;
airresistance(580);gravity;position	([1e,2965.632],[631,1390.259],[2524.844,284]);SeTnEWPArTIclETYPe();
inertia(2910,2088.147,-332.483);position([860,358],[2235.627,460],[314.347,$])	;foo(-1547);(	2147483648;
coLor;foo;endfadein(2076.534);
