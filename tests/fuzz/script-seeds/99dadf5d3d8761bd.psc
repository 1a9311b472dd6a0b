setnewparticletype();setnewmagnetpoint();setnewmagnetpoint();
setnewparticletype();setnewmagnetpoint();
radius(3);mposition(1,2,3);mode(2);
