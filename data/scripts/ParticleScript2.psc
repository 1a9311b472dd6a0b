// ParticleScript2.psc - "Crystal fountain" (3000 particles)
//
// A jet of light rises from a glowing basin and falls back as spray, petals
// dance on the wind of a magnet point above it, and bubbles drift up.
// The command language is explained in ParticleScript1.psc.

continiuous(true);
fading(true, true);
loadtexture('scripts/lumina.tga');

// The basin: a pool of wide, dim glows (tile 0) under the fountain.
setnewparticletype();
textureproperties(2, 4);
texture(0);
particlecount(200);
lifelength(0.8, 0.6);
endfadein(0.4);
beginfadeout(0.5);
randomsize(0.5, 1.1);
color(0.03, 0.09, 0.2);
position([1.6, -0.8], [0.15, -1.45], [0.8, -0.4]);
mass(1);

// The jet. Speeds are divided by the mass; a negative force pulls without
// limit, which makes it a good gravity, and the air resistance bends the
// arcs into a plume.
setnewparticletype();
textureproperties(2, 4);
texture(0);
particlecount(1500);
lifelength(0.7, 1.5);
endfadein(0.05);
beginfadeout(0.6);
randomsize(0.05, 0.11);
color(0.3, 0.75, 1);
position([0.16, -0.08], [0.05, -1.35], [0.16, -0.08]);
velocity([1.6, -0.8], [0.9, 3.3], [1.2, -0.6]);
force(0, -3.6, 0);
mass(1);
airresistance(0.25);

// Highlights flashing in the spray (tile 2).
setnewparticletype();
textureproperties(2, 4);
texture(2);
particlecount(400);
lifelength(0.5, 0.3);
endfadein(0.5);
beginfadeout(0.5);
randomsize(0.05, 0.12);
color(0.8, 0.95, 1);
position([1.8, -0.9], [1.9, -1.1], [0.8, -0.4]);
mass(1);

// Petals (tile 5) thrown around the crown of the fountain.
setnewparticletype();
textureproperties(2, 4);
texture(5);
particlecount(750);
lifelength(2, 2.5);
endfadein(0.2);
beginfadeout(0.6);
randomsize(0.06, 0.14);
color(1, 0.38, 0.78);
position([2.4, -1.2], [1.4, -0.2], [1.2, -0.6]);
velocity([0.8, -0.4], [0.3, -0.35], [0.8, -0.4]);
force(0, -0.25, 0);
inertia(1, 1, 1);
mass(0.7);
airresistance(0.5);

// A magnet point above the jet for the four types above. Mode 1 pushes
// away, weaker with distance, when the gravity is positive; radius limits
// its reach.
setnewmagnetpoint();
mode(1);
gravity(2.2);
radius(1.2);
mposition(0, 0.45, 0);

// A second one below the crown pulls the petals back in (negative gravity).
setnewmagnetpoint();
mode(2);
gravity(-0.6);
radius(2.2);
mposition(0, -0.2, 0);

// Bubbles (tile 3) rising slowly from the basin; created after the magnet
// points, so they float undisturbed. Alpha blending instead of adding light:
// 771 = GL_ONE_MINUS_SRC_ALPHA.
setnewparticletype();
textureproperties(2, 4);
texture(3);
blendfactor(770, 771);
particlecount(150);
lifelength(2, 3);
endfadein(0.2);
beginfadeout(0.7);
randomsize(0.08, 0.2);
color(0.6, 0.85, 1);
position([2.4, -1.2], [0.2, -1.4], [1, -0.5]);
velocity([0.1, -0.05], [0.2, 0.15], [0.1, -0.05]);
force(0, 0.35, 0);
mass(1);
