// fountain.psc - "Fountain": a jet of water thrown up from a nozzle; its drops are drawn stretched
// along their flight, turn from foam white to deep blue as they fall, and splash where they meet
// the ground.
//
// Written with the newer commands (see docs/script-language.md): rate() sends the drops out evenly,
// stretch() lays each drop along its velocity, tint() gives every drop a shade of its own,
// ground() lays the basin's floor, dieonground() ends a drop there and ondeath() splashes it.

continiuous(false);
fading(false, false);
loadtexture('scripts/lumina.tga');
// The basin's floor, 1.2 below the script's origin, for every type.
ground(-1.2);

// ---------------------------------------------------------------------------
// Type 0: the jet
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(0);
rate(300);
particlecount(3000);
// The nozzle stands above the ground's collision band (0.2), so no drop is born touching it.
position([0, 0], [0, -0.9], [0, 0]);
disc(0.04);
velocity([0.8, -0.4], [0.4, 3.5], [0.8, -0.4]);
lifelength(0, 4);
mass(1);
inertia(1, 1, 1);
force(0, -8, 0);
size(0.05, 0.05);
stretch(0.035);
dieonground(true);
tint(0.85, 0.95, 1, 0.55, 0.75, 1);
colorkey(0, 1, 1, 1);
colorkey(0.25, 0.75, 0.9, 1);
colorkey(0.6, 0.35, 0.6, 1);
alphakey(0, 1);
alphakey(1, 0.8);
// Every drop that reaches the floor splashes into three droplets (type 1).
ondeath(1, 3);

// ---------------------------------------------------------------------------
// Type 1: the splash, thrown up and out where a drop lands; it skips once on the floor
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(0);
particlecount(0);
// Born a little above where the drop landed, clear of the floor's band.
position([0, 0], [0, 0.25], [0, 0]);
velocity([1.4, -0.7], [0.7, 0.5], [1.4, -0.7]);
lifelength(0.25, 0.35);
mass(1);
inertia(1, 1, 1);
force(0, -8, 0);
size(0.035, 0.035);
stretch(0.03);
bounce(0.3, 0.6);
color(0.6, 0.8, 1);
alphakey(0, 0.9);
alphakey(1, 0);
