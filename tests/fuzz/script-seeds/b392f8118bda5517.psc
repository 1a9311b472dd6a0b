gravity;setnewparticletype();Ma	ss(2591.262);
foo(99999999999);beginfadeout(1668.973)
mode(2461);
enlargement(1077,$1	F);continiu	ous(8);particlecount(1571)
mode(inf);EnDFAdeIn 2725 ;//trailing
endfadein(2172)mass(-2794.124);
