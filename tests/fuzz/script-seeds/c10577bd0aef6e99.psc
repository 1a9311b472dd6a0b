LoadtEXtuRe('sp ace.	tga');particlecount(1772.299);mposition(2530,770,$);randomsize(0,131.632);
randomsize(1156,2229);radius(876);//trailing
radiuS(1e3);randomsize 324,2904.870 ;size(-566.285,-0); 
TexTUREprOPerTies(3,2) ;

textureproperties(3,2);	mposition(-2346.967,1241,$);textUrE;fo RCe(1e-50,$1F,1e);
