loadtexture('tex.tga');
setnewparticletype();
mass(1,5);size(1,2);
size(3,4)
size(5 , 6) ;
size(1,2
mass 1;
mass(7);foo(2);bar(3);
lifelength(1,2);//heavy (x)
   // indented
