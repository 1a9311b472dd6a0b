setnewparticletype();

randomsize(2810.783,1060.941);force(1288	,0.5,-2.5e+2);loadtexture('missing.ámp');foo(2798.115;
