// smoke.psc - "Smoke": a column of smoke rising from a smouldering bed, stirred into curls and eddies
// by the air, widening and thinning as it climbs.
//
// Written with the newer commands (see docs/script-language.md): turbulence() stirs the smoke with
// a flow that curls without gathering it anywhere, rate() feeds the column evenly, disc() spreads
// its bed, rotation() and spin() keep the puffs from looking alike, and tint() shades each puff.

continiuous(false);
fading(true, true);
loadtexture('scripts/mist.tga');

// ---------------------------------------------------------------------------
// Type 0: the smoke
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(1, 1);
texture(0);
blendfactor(770, 771);
rate(30);
particlecount(400);
position([0, 0], [0, -1.2], [0, 0]);
disc(0.2);
velocity([0.1, -0.05], [0.2, 0.5], [0.1, -0.05]);
lifelength(1.5, 4.5);
mass(1);
inertia(1, 1, 1);
force(0, 0.8, 0);
airresistance(0.3);
endfadein(0.15);
beginfadeout(0.35);
size(0.25, 0.25);
enlargement(0.3, 0.3);
rotation(360, 0);
spin(40, -20);
turbulence(0.8, 0.5, 0.3);
color(0.45, 0.45, 0.48);
tint(1, 1, 1, 0.7, 0.68, 0.66);
