SEtNEwpARTICletype();sETNeWPaRTICLetyPe();blendfac tor(1405.127,1e39);
force(1e-50,0.5,2861);contini uous(601.101);
	positiON([2265.274,1e9],[-433.210,1674],[-2.5e+2,2587]);mposition(-2687,328.451,1065.494);//trailing
beginfadeout(1095) ;//trai	ling
mode(-1e9);randomsize(481.402,2274.26);beginfade out(448.713);//trailing
// a comment ('with quotes') and (brackets)

randomsize(-2162.360,-621.664);enlargement(2709,nan);enlargement(00012,-2979.9);
color(2296,771,-2403.55;airresistance(545.840);endfadein(0.5);continu ous(1779.893);//trailing
blendfactor(1327.613,-1);setne wmagnetpoint();endfadein(0.0000001;continuous(2587);
mode	(99999999999);
texturepro perties;velocity([164.409,-492],[70,1e],[995.973,5.]);
foo(1120.105;setnewpart icletype ;
