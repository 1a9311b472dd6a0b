setnewparticletype();setnewmagnetpoint();gravity(7);
