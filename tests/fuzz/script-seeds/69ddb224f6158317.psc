// header comment with a ) in it
setnewparticletype();	mass(x);  foo(1);
   // indented comment
	size(1,2) ;lifelength(1);
color(1,1,1);//ok
loadtexture( 'a b.tga' );  texture(q);
mass(1);size(3,4)
