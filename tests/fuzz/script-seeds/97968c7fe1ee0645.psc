setnewparticletype();
// smoke
particlecount(100);
mass(heavy);
