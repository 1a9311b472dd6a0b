// a comment ('with quotes') and (brackets)
setnewparticletype(2966,1.5x);mposition	(-2475.677,1e3,nan);
setnewmagnetpoint(283	6.638);

SetNewPA	rTiC lETyPE();airresistance(215.547);
mode(0);position([-677,-980],[-1412.435,X7f],[1050.838,-1507]);(1E-3);texture(817.557);
color(-858.193,+,1.2.3);
(156);mass(4294967295);force 1E-3,2192.147 ;po	sition([1676.34,],[1664.748,2793.326],[330,-1866]);
beginfadeout(1	546.860);beginfadeout(X7f);color(-1855.708,-2037,117.905);Foo(662);
inertia(635,1458	.39 7);
con	tinuous(975.563);
setn	ewparticletype();force(1093,-360,2588.691);foo(0x);
continiuous(1318.22);AirREsiSTanCE(893.540);CONTiNIuous(1e,-2.5e+2);setnewparticletype();
	mass(2983);texture(1712.899);foo(35);
setnewmagnetpoint()continiuous(925);
