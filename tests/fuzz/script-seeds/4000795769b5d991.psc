coNTInUous(0.5);enlargement(1136.726,2641.511)inertia(1141.674,$,true);force(2967.787,543.954,+);
fORCE(247	 5,1180,1860)	;
VElOCitY([1266.433,-2.5e+2];fading .5,$  ;mode(-2147483649);inertia(-1978,0x,2271.441);
BEGINFadEouT(2240.568); setnewmagnetpo int();
continiuous(1E-3);mode(-1957.972);beginfadeout -1e400 ;continiuous(2147483648);
