// firework.psc - "Firework": shells burst into sparks that cool from white through their colour to
// dark red, and every spark crackles into a glint where it dies.
//
// Written with the newer commands (see docs/script-language.md): burst() fires particles at a time of
// the script's clock, sphere() and outward() throw them out of a small ball, colorkey() and
// alphakey() change them over their life, and ondeath() creates particles of another type where one
// of this type dies; trail() draws a fading streak behind every spark.

// Nothing is topped up: every particle comes from a burst or a death.
continiuous(false);
fading(false, false);
loadtexture('scripts/lumina.tga');

// ---------------------------------------------------------------------------
// Type 0: gold sparks, a shell on the left every 2.4 s (now and five more times)
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(1);
burst(0, 160, 2.4, 5);
position([0, -0.9], [0, 0.7], [0, 0]);
sphere(0.06);
outward(1.7);
lifelength(0.5, 1.0);
randomsize(0.05, 0.1);
mass(1);
inertia(1, 1, 1);
// They sink slowly and lose their speed in the air.
force(0, -0.35, 0);
airresistance(0.9);
colorkey(0, 1, 1, 1);
colorkey(0.2, 1, 0.75, 0.25);
colorkey(1, 0.25, 0.03, 0.02);
alphakey(0, 1);
alphakey(0.75, 0.8);
alphakey(1, 0);
trail(0.4, 12, 0.05);
ondeath(2, 1);

// ---------------------------------------------------------------------------
// Type 1: cyan sparks, a shell on the right, 1.2 s after each gold one
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(1);
burst(1.2, 160, 2.4, 5);
position([0, 0.9], [0, 1.0], [0, 0]);
shell(0.1);
outward(1.5);
lifelength(0.5, 1.1);
randomsize(0.05, 0.1);
mass(1);
inertia(1, 1, 1);
force(0, -0.35, 0);
airresistance(0.9);
colorkey(0, 1, 1, 1);
colorkey(0.2, 0.3, 0.9, 1);
colorkey(1, 0.02, 0.08, 0.25);
alphakey(0, 1);
alphakey(0.75, 0.8);
alphakey(1, 0);
trail(0.4, 12, 0.05);
ondeath(2, 1);

// ---------------------------------------------------------------------------
// Type 2: the crackle, born where a spark dies (never emitted on its own)
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(2);
particlecount(0);
lifelength(0.15, 0.1);
size(0.12, 0.12);
color(1, 0.95, 0.8);
mass(1);
inertia(1, 1, 1);
force(0, -0.2, 0);
alphakey(0, 1);
alphakey(1, 0);
sizekey(0, 0.04, 0.04);
sizekey(0.3, 0.14, 0.14);
sizekey(1, 0.02, 0.02);
