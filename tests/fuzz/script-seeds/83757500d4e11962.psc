airr	esistance 829  ;position;setnewmagnetpoint();//trailing
bEGIŸfaDeout(858.358);
foo(-1765.226);	sETnewpArtICletype();setnewmagnetpoint();setnewparti	cletype();//trailing
// a comment ('with quotes') and (brackets)
fading;ma ss(600)gra vity 226.574 ;
setn ewpar ticletype ();
(1762,1	92);aiRResISTAN	Ce(771;
foo(-2.5e+2);position([3.4e38,-1962],[700.362,16777217],[0.0000001,771]) mass(1989.895);%etnewparticletype();//trail	ing
li felength(1e,181.461)
enlargement( 2243.886,-873.849);inertia(702.558,0.5	,318.299);continiuous(1701.41,-966.644);//trailin g

textureproperties(-1,2);continiuous(	674.268);endfadein(nan);
particlecount(00012);endfadein(3.4e38);textureproperties(2,0);
pa	rtic lecount(1797);parti clecount(X7f);//trailing
bEGiNfAdeOUT 0 ;mode;endfadein  ;setnewparticletype()	;
