// campfire.psc - "Campfire": flames that turn from white-yellow to red as they rise and shrink, sparks
// that fly up and fall back, and smoke born where the flames die, widening and darkening as it drifts.
//
// Written with the newer commands (see docs/script-language.md): disc() spreads the flames over the
// fire's bed, colorkey(), alphakey() and sizekey() shape every particle over its life, ondeath() and
// onbounce() start particles where others die or hit the ground, and prewarm() lights the fire before
// its first frame. Sparks bounce where the host gives the script a ground to fall on.

continiuous(true);
fading(false, false);
// The fire has been burning for two seconds when it is first drawn.
prewarm(2);
loadtexture('scripts/lumina.tga');

// ---------------------------------------------------------------------------
// Type 0: the flames
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(0);
particlecount(260);
lifelength(0.4, 0.6);
position([0, 0], [0, -1.2], [0, 0]);
disc(0.35);
velocity([0.3, -0.15], [0.4, 0.5], [0.3, -0.15]);
force(0, 0.9, 0);
inertia(1, 1, 1);
mass(1);
colorkey(0, 1, 0.95, 0.7);
colorkey(0.3, 1, 0.6, 0.12);
colorkey(0.7, 0.85, 0.18, 0.03);
colorkey(1, 0.3, 0.05, 0.02);
alphakey(0, 0);
alphakey(0.15, 1);
alphakey(0.7, 0.6);
alphakey(1, 0);
sizekey(0, 0.38, 0.38);
sizekey(0.5, 0.3, 0.3);
sizekey(1, 0.08, 0.08);
// Every flame that dies leaves a puff of smoke (type 3).
ondeath(3, 1);

// ---------------------------------------------------------------------------
// Type 1: the sparks
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(2);
particlecount(30);
lifelength(0.8, 0.8);
position([0, 0], [0, -1.15], [0, 0]);
disc(0.2);
velocity([1.2, -0.6], [1.2, 1.4], [1.2, -0.6]);
force(0, -1.6, 0);
inertia(1, 1, 1);
mass(1);
size(0.06, 0.06);
colorkey(0, 1, 0.9, 0.5);
colorkey(1, 1, 0.35, 0.05);
alphakey(0.8, 1);
alphakey(1, 0);
// A spark that hits the ground throws two embers (type 2).
onbounce(2, 2);

// ---------------------------------------------------------------------------
// Type 2: embers from the sparks' bounces (never emitted on their own)
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(0);
particlecount(0);
lifelength(0.3, 0.3);
velocity([0.6, -0.3], [0.3, 0.3], [0.6, -0.3]);
force(0, -1, 0);
inertia(1, 1, 1);
mass(1);
size(0.05, 0.05);
color(1, 0.45, 0.1);
alphakey(0, 1);
alphakey(1, 0);

// ---------------------------------------------------------------------------
// Type 3: the smoke, drawn with ordinary alpha blending from the mist texture
// ---------------------------------------------------------------------------
loadtexture('scripts/mist.tga');
setnewparticletype();
textureproperties(1, 1);
texture(0);
particlecount(0);
blendfactor(770, 771);
lifelength(1, 2);
velocity([0.2, -0.1], [0.1, 0.25], [0.2, -0.1]);
force(0.08, 0.4, 0);
inertia(1, 1, 1);
mass(1);
colorkey(0, 0.4, 0.35, 0.3);
colorkey(1, 0.12, 0.12, 0.12);
alphakey(0, 0);
alphakey(0.2, 0.3);
alphakey(1, 0);
sizekey(0, 0.3, 0.3);
sizekey(1, 1.3, 1.3);
