
setn	ewpartic»etype(2991.160);
particlecou	nt(5.);lifelength(1898,0;color(771,2729, 282)setnewparticletype();
