// ParticleScript3.psc - "Aurora over the lake" (20000 particles, stress test)
//
// Drawn over the dark-blue floor at height -0.51: a curtain of light rays
// waves in the sky, stars twinkle behind it and its glow shimmers on the
// water. The command language is explained in ParticleScript1.psc.

continiuous(true);
fading(true, true);
loadtexture('scripts/lumina.tga');

// Stars (tile 2) far behind everything else.
setnewparticletype();
textureproperties(2, 4);
texture(2);
particlecount(2500);
lifelength(3, 1);
endfadein(0.4);
beginfadeout(0.6);
randomsize(0.03, 0.08);
color(0.75, 0.8, 1);
position([14, -7], [3.6, 0.1], [2, -7]);
mass(1);

// The curtain: vertical streaks (tile 7) with a fixed size that is taller
// than wide, drifting sideways. Two ribbons at different depths and heights.
setnewparticletype();
textureproperties(2, 4);
texture(7);
particlecount(5000);
lifelength(2, 1.5);
endfadein(0.35);
beginfadeout(0.45);
size(0.07, 0.6);
enlargement(0, 0.12);
color(0.03, 0.3, 0.12);
position([3.6, -3.4], [0.5, 0.55], [0.4, -2.4]);
velocity([0.1, 0.3], [0.05, 0], [0.1, -0.05]);
inertia(1, 1, 1);
mass(1);

setnewparticletype();
textureproperties(2, 4);
texture(7);
particlecount(4500);
lifelength(2, 1.5);
endfadein(0.35);
beginfadeout(0.45);
size(0.07, 0.5);
enlargement(0, 0.1);
color(0.02, 0.24, 0.2);
position([3.8, -0.4], [0.4, 0.2], [0.4, -3.4]);
velocity([0.1, 0.3], [0.05, 0], [0.1, -0.05]);
inertia(1, 1, 1);
mass(1);

// The violet fringe above the first ribbon.
setnewparticletype();
textureproperties(2, 4);
texture(7);
particlecount(2500);
lifelength(2, 1.2);
endfadein(0.35);
beginfadeout(0.45);
size(0.06, 0.4);
color(0.16, 0.04, 0.24);
position([4, -3.6], [0.3, 1.25], [0.4, -2.4]);
velocity([0.1, 0.3], [0.04, 0.02], [0.1, -0.05]);
inertia(1, 1, 1);
mass(1);

// Magnet points fold the curtain. Mode 2 pushes with a constant strength
// inside its radius (a negative gravity pulls). They act on every type
// defined so far: the stars and the three curtain types.
setnewmagnetpoint();
mode(2);
gravity(2.5);
radius(0.8);
mposition(-1.8, 0.7, -2.2);

setnewmagnetpoint();
mode(2);
gravity(1.6);
radius(0.9);
mposition(1.6, 0.5, -3.2);

// The reflection: thin, wide glows (tile 0) lying just above the water,
// created after the magnet points so they stay in place. A fixed size that
// is much wider than tall makes each one a glint on the waves.
setnewparticletype();
textureproperties(2, 4);
texture(0);
particlecount(5500);
lifelength(1.5, 0.5);
endfadein(0.5);
beginfadeout(0.5);
size(0.45, 0.035);
enlargement(0.1, 0);
color(0.03, 0.2, 0.13);
position([7, -3.5], [0.01, -0.5], [4, -3.2]);
velocity([0.1, 0.05], [0, 0], [0, 0]);
mass(1);
