// spell.psc - "Spell": a ring of sparkles that whirls up around an unseen axis, each sparkle turning
// on itself in a colour of its own between violet and ice blue, round a pale glowing core.
//
// Written with the newer commands (see docs/script-language.md): vortex() whirls the sparkles about
// the axis through the script's origin and draws them in, rotation() and spin() turn each sparkle,
// tint() picks its colour, ring() and rate() send them out of a circle one after another, and
// local() keeps the spell together when its origin moves.

continiuous(false);
fading(true, true);
loadtexture('scripts/lumina.tga');

// ---------------------------------------------------------------------------
// Type 0: the sparkles
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(1);
rate(260);
particlecount(900);
position([0, 0], [0, -1.0], [0, 0]);
ring(1.1);
outward(-0.15);
velocity([0.1, -0.05], [0.5, 0.45], [0.1, -0.05]);
lifelength(1, 2.2);
mass(1);
inertia(1, 1, 1);
force(0, 0.3, 0);
endfadein(0.15);
beginfadeout(0.55);
randomsize(0.1, 0.24);
rotation(360, 0);
spin(540, -270);
vortex(0, 1, 0, 140, 0.25);
// tint() multiplies the colour: white gives the tints as they are.
color(1, 1, 1);
tint(0.75, 0.35, 1, 0.35, 0.85, 1);
local(true);

// ---------------------------------------------------------------------------
// Type 1: the core, a slow column of pale light along the axis
// ---------------------------------------------------------------------------
setnewparticletype();
textureproperties(2, 4);
texture(0);
rate(25);
particlecount(120);
position([0, 0], [0, -1.0], [0, 0]);
disc(0.15);
velocity([0, 0], [0.3, 0.6], [0, 0]);
lifelength(0.8, 1.8);
mass(1);
inertia(1, 1, 1);
endfadein(0.3);
beginfadeout(0.5);
size(0.5, 0.5);
color(0.3, 0.22, 0.6);
spin(60, -30);
local(true);
