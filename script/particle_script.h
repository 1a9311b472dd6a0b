#pragma once
// A loaded particle script: one particle system per particle type, the per-type emission settings
// the runtime draws new particles from, and the debugger log of every load into it.

#include "../engine/fixed_steps.h"
#include "../engine/particle_container.h"
#include "../engine/vector.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidor {

/// Single values of one particle type (keyword row 0, field k = keyword k).
struct TScriptValues {
    float Mass = 0.0f;          ///< particle mass; 0 (no "mass") leaves the velocity undivided
    float NumParticles = 0.0f;  ///< target live count (continuous) or count per emission; truncated
    float AirResistance = 0.0f; ///< fraction of velocity lost per second
    float BeginFadeOut = 0.0f;  ///< fraction of the life after which fading out starts
    float EndFadeIn = 0.0f;     ///< fraction of the life over which fading in runs
    float TextureTile = 0.0f;   ///< atlas tile, truncated; clamped into the type's tile table
};

/// A pair of floats in the order the script writes them.
struct TScriptPair {
    float First = 0.0f;  ///< first argument
    float Second = 0.0f; ///< second argument
};

/// Life in seconds: Base + R * Spread.
struct TScriptLifeRange {
    float Spread = 0.0f; ///< random part, seconds (the first argument of "lifelength")
    float Base = 0.0f;   ///< fixed part, seconds (the second argument)
};

/// Pairs of one particle type (keyword row 1, pair k = keyword k).
struct TScriptRanges {
    TScriptLifeRange Life;   ///< "lifelength"
    TScriptPair Unused;      ///< no command writes it
    TScriptPair RandomSize;  ///< "randomsize": smallest, largest square size; used when First < Second
    TScriptPair Size;        ///< "size": fixed size along x, along y
    TScriptPair Enlargement; ///< "enlargement": growth per second along x, along y
};

/// Vectors of one particle type (keyword row 2, vector k = keyword k).
struct TScriptVectors {
    TVector3 Force;   ///< "force"
    TVector3 Color;   ///< "color": red, green, blue in 0..1
    TVector3 Inertia; ///< "inertia": components below 0.1 become 0.1 on the particle
    TVector3 Unused;  ///< no command writes it
};

/// Base + R * Spread per axis.
struct TScriptVectorRange {
    TVector3 Spread; ///< random part per axis
    TVector3 Base;   ///< fixed part per axis
};

/// Vector ranges of one particle type (keyword row 3, range k = keyword k).
struct TScriptVectorRanges {
    TScriptVectorRange Velocity; ///< units per second, divided by the mass on the particle
    TScriptVectorRange Position; ///< relative to the origin passed to the runtime
};

/// Where a type's new particles start: the box of "position" (Box), or a shape centred on the
/// position's fixed part plus the origin (the position's random part is not used then). Discs and
/// rings lie in the horizontal x-z plane unless the type's "shapeaxis" names another normal.
enum class TEmitterShape : std::int32_t {
    Box,         ///< Base + R * Spread per axis, as "position" says
    Sphere,      ///< anywhere inside a ball of Radius
    SphereShell, ///< on the surface of a ball of Radius
    Disc,        ///< anywhere on a flat disc of Radius
    Ring,        ///< on the rim of a flat disc of Radius
};

/// The shape a type emits from, and an optional launch away from its centre.
struct TScriptEmitter {
    TEmitterShape Shape = TEmitterShape::Box; ///< Box: the particle starts as "position" says
    float Radius = 0.0f;                      ///< world units, for every shape but Box
    /// Speed along the direction out of the centre (for Box the box's middle), added to the "velocity"
    /// draw and divided by the mass with it; negative points inward; 0 adds nothing.
    float OutwardSpeed = 0.0f;
};

/// Particles emitted at once, `Time` seconds after the script starts, then every `Interval`
/// seconds `Repeats` more times.
struct TScriptBurst {
    float Time = 0.0f;        ///< seconds after the start of the script
    std::int32_t Count = 0;   ///< particles per burst
    float Interval = 0.0f;    ///< seconds between repeats; used when Repeats > 0
    std::int32_t Repeats = 0; ///< further bursts after the first
    std::int32_t Fired = 0;   ///< bursts already emitted since the script (re)started; runtime state
    bool DropLogged = false;  ///< the debugger log has said that this burst dropped particles
};

/// What happens to a particle that a sub-emitter follows.
enum class TScriptEvent : std::int32_t {
    Death,  ///< its life ran out
    Bounce, ///< it hit the ground
};

/// `Count` particles of type `Type` created where a particle of the owning type met `Event`.
struct TScriptSubEmitter {
    TScriptEvent Event = TScriptEvent::Death; ///< what triggers it
    std::int32_t Type = 0;                    ///< 0-based particle type, in "setnewparticletype" order
    std::int32_t Count = 0;                   ///< particles per event
};

/// The emission settings of one type beyond the original commands.
struct TScriptEmission {
    TScriptEmitter Emitter;                     ///< "sphere", "shell", "disc", "ring", "outward"
    std::vector<TScriptBurst> Bursts;           ///< "burst", in script order
    std::vector<TScriptSubEmitter> SubEmitters; ///< "ondeath" and "onbounce", in script order
};

/// How a type's particles look and move beyond the original commands: turning, stretching, a rate of
/// births, a tint, flow forces, trails, the ground's bounce, the plane of its discs and rings, and
/// moving with the origin. The value-initialised record uses none of them (Used false), and a type
/// whose record is unused is created and run exactly as without it.
struct TScriptLook {
    bool Used = false;            ///< any of the commands below was given for the type
    bool HasRotation = false;     ///< "rotation" was given
    TScriptLifeRange Rotation;    ///< "rotation": start angle, degrees, Base + R * Spread
    bool HasSpin = false;         ///< "spin" was given
    TScriptLifeRange Spin;        ///< "spin": degrees a second, Base + R * Spread
    float Stretch = 0.0f;         ///< "stretch": length = drawn height + Stretch x speed seen; 0: none
    bool HasRate = false;         ///< "rate" was given
    float Rate = 0.0f;            ///< "rate": particles a second
    bool HasTint = false;         ///< "tint" was given
    TVector3 TintFirst{1, 1, 1};  ///< "tint": the colour at blend factor 0
    TVector3 TintSecond{1, 1, 1}; ///< "tint": the colour at blend factor 1
    TTurbulence Turbulence;       ///< "turbulence"
    TVortex Vortex;               ///< "vortex", its axis made a unit vector (Center: the origin, every frame)
    TParticleTrail Trail;         ///< "trail" (MaxParticles is the type's share, set by the runtime)
    bool HasBounce = false;       ///< "bounce" was given
    float KeepY = 0.6f;           ///< "bounce": share of the vertical speed kept
    float KeepXZ = 0.8f;          ///< "bounce": share of the horizontal speed kept
    bool DieOnGround = false;     ///< "dieonground"
    bool HasShapeAxis = false;    ///< "shapeaxis" was given
    TVector3 ShapeAxis{0, 1, 0};  ///< "shapeaxis": unit normal of the plane of discs and rings
    bool Local = false;           ///< "local": particles move with the origin
    double RateCarry = 0.0;       ///< fraction of a particle "rate" carries to the next frame; runtime state
    bool HasLastOrigin = false;   ///< LastOrigin holds the origin of the last pass; runtime state
    TVector3 LastOrigin;          ///< origin of the last pass, for "local"; runtime state
};

/// A path the host may have the script's origin follow (a host setting, not a command): the offset is
/// evaluated at the script's Time, so restarts, seeks and checkpoints replay it exactly.
enum class TEmitterPath : std::int32_t {
    Still,         ///< no offset
    Circle,        ///< a circle of radius 1.5 in the x-z plane, one turn every 4 s
    FigureOfEight, ///< a lemniscate 3 wide along x in the x-z plane, one loop every 6 s
};

/// The offset of `path` from the host's origin after `seconds` of the script's clock.
TVector3 EmitterPathOffset(TEmitterPath path, double seconds);
/// "still", "circle", "eight" or "figure-of-eight" (any letter case); empty for any other name.
std::optional<TEmitterPath> ParseEmitterPath(std::string_view name);

/// Most work a prewarm may cost, in particle-steps (the particles each of its passes sweeps, added up):
/// about a second or two of one core. A prewarm that reaches it stops there, with one line in the
/// debugger log, and the script plays on from where it stands.
inline constexpr std::int64_t MaxScriptPrewarmParticleSteps = 50'000'000;

/// One script; the value-initialised record is a valid empty script. Settings arrays have one
/// element per container, element t belonging to particle type t.
struct TParticleScript {
    std::vector<TParticleEffectContainer> Containers; ///< one per "setnewparticletype", in order
    GLuint Texture = 0;                               ///< texture of the last successful "loadtexture"
    bool Continuous = false;                          ///< top up every frame instead of on request
    std::string DebugLog;                             ///< every line ends with a single CR; only appended to
    bool FadeOut = false;                             ///< fade-out switch of every new particle
    bool FadeIn = false;                              ///< fade-in switch of every new particle
    std::vector<TScriptValues> Values;                ///< single values per type
    std::vector<TScriptRanges> Ranges;                ///< pairs per type
    std::vector<TScriptVectors> Vectors;              ///< vectors per type
    std::vector<TScriptVectorRanges> VectorRanges;    ///< vector ranges per type
    std::vector<TScriptEmission> Emission;            ///< shapes, bursts and sub-emitters per type
    std::vector<TScriptLook> Look;                    ///< turning, rate, tint, flow, trails ... per type
    bool HasGround = false;                           ///< "ground" was given
    float GroundHeight = 0.0f;                        ///< "ground": height of the ground below the origin
    TEmitterPath EmitterPath = TEmitterPath::Still;   ///< the host's path for the origin
    float Prewarm = 0.0f;                             ///< "prewarm": seconds run before the first frame
    /// Seconds the script has run since its start, prewarm included (a prewarmed script shows its
    /// first frame at Time == Prewarm); bursts fire by it. Runtime state, 0 after a load or restart.
    double Time = 0.0;
    bool Started = false;               ///< the first AdvanceScript (and its prewarm) has run
    bool SubEmitterLimitLogged = false; ///< the runtime's one log line about sub-emitter limits is written
    std::int64_t PrewarmStepsLeft = 0;  ///< prewarm steps still to run before the first frame; runtime state
    std::int64_t PrewarmStepsRun = 0;   ///< prewarm steps run since the start; runtime state
    /// Particle-steps the prewarm has cost so far (particles each of its passes swept); runtime state.
    std::int64_t PrewarmWork = 0;
    /// Most particle-steps the prewarm may cost before it stops (a host may lower it).
    std::int64_t PrewarmWorkLimit = MaxScriptPrewarmParticleSteps;
    bool PrewarmStopLogged = false; ///< the runtime's one log line about a stopped prewarm is written
};

/// One problem of a load, placed for editors; the log keeps the same text.
struct TScriptDiagnostic {
    std::int32_t Line = -1;  ///< zero-based line as the log counts it; -1 for a problem of no line
    std::int32_t Column = 0; ///< 1-based column in the raw line where the command starts; 0 without a line
    /// The log line without "Error (Line N): " or "Critical Error: " and its CR; a texture that did
    /// not load adds why: the folder it was looked for in, or that the file is no texture it reads.
    std::string Message;
    std::string Suggestion; ///< unknown command: the closest keyword a small edit away, else empty
    /// The problem in plain words for editors and the Problems tab (what is wrong and what to write
    /// instead); empty when Message already is. The log keeps Message's words.
    std::string Plain;
};

/// What one load found beyond what the record keeps (for tools that check scripts).
struct TScriptLoadReport {
    bool FileOpened = false;     ///< false: the log holds only the header and the not-found text
    bool TextureLoaded = false;  ///< a "loadtexture" of this load succeeded
    std::int32_t ErrorCount = 0; ///< problems reported by this load, critical warnings included
    std::vector<bool> TilesSet;  ///< per particle type: "textureproperties" of this load completed
    std::vector<TScriptDiagnostic> Diagnostics; ///< every problem of this load, in log order
    std::vector<std::string> TextureFiles;      ///< every path a "loadtexture" tried, found or not
    /// Settings the load accepted that will surprise when the script runs, sorted by line and column,
    /// at most MaxScriptWarnings; never in Diagnostics, ErrorCount or the debugger log.
    std::vector<TScriptDiagnostic> Warnings;
};

/// Most warnings one load reports; further ones are left out.
inline constexpr std::size_t MaxScriptWarnings = 1000;
/// Most particles one type holds at once; larger "particlecount" values are capped to it.
inline constexpr std::int32_t MaxScriptParticlesPerType = 1'000'000;
/// Most particles all types of one script hold together; emission stops there (types in order).
inline constexpr std::int32_t MaxScriptParticlesPerScript = 1'000'000;
/// Most tiles a "textureproperties" may cut a texture into.
inline constexpr std::int32_t MaxScriptTextureTiles = 65'536;
/// Most particle types one script record holds; further "setnewparticletype" commands are refused.
inline constexpr std::int32_t MaxScriptParticleTypes = 64;
/// Most magnet points all types of a record hold together (each point is added to every type).
inline constexpr std::int32_t MaxScriptMagnetRecords = 65'536;
/// Bytes one load may add to DebugLog before further messages are only counted.
inline constexpr std::size_t MaxScriptLogBytes = std::size_t(64) << 20;
/// Most keys of one kind ("colorkey", "alphakey", "sizekey") one particle type holds.
inline constexpr std::int32_t MaxScriptLifeKeys = 64;
/// Most "burst" commands one particle type holds.
inline constexpr std::int32_t MaxScriptBursts = 64;
/// Most "ondeath" and "onbounce" commands one particle type holds together.
inline constexpr std::int32_t MaxScriptSubEmitters = 16;
/// Most particles one "ondeath" or "onbounce" creates per event.
inline constexpr std::int32_t MaxScriptSubEmitterCount = 1'000;
/// Most repeats of one "burst", and most particles per burst; also the latest burst time, seconds.
inline constexpr std::int32_t MaxScriptBurstValue = 1'000'000;
/// Most times a flipbook's tiles are played over one life.
inline constexpr float MaxScriptFlipbookCycles = 10'000.0f;
/// Most trail points one script holds; each trailing type gets an equal share.
inline constexpr std::int32_t MaxScriptTrailPoints = 4'000'000;
/// Most points of one "trail".
inline constexpr std::int32_t MaxScriptTrailPointsPerParticle = 64;
/// Longest "trail", seconds.
inline constexpr float MaxScriptTrailSeconds = 60.0f;
/// Most particles a second one "rate" asks for.
inline constexpr float MaxScriptRate = 1'000'000.0f;
/// Width and depth of the flat ground of "ground", world units, centred under the origin.
inline constexpr float ScriptGroundSize = 1000.0f;
/// Longest "prewarm", seconds.
inline constexpr float MaxScriptPrewarmSeconds = 60.0f;
/// Most particles all sub-emitters of one script create in one frame (or one prewarm or seek step);
/// what a chain of types spawning each other asks beyond it is dropped.
inline constexpr std::int32_t MaxScriptSubParticlesPerStep = 100'000;
/// Step of prewarm and of SeekScript by default, seconds (the fixed step of engine/fixed_steps.h).
inline constexpr float ScriptStepSeconds = FixedStepSeconds;
/// Latest time SeekScript goes to, seconds.
inline constexpr double MaxScriptSeekSeconds = 3600.0;

/// Reads the file (opened relative to the working directory; "\" is taken as "/") and appends its
/// particle types, settings and log to `script`. Without GL set up (GLAvailable), "loadtexture"
/// decodes and checks the file but uploads nothing (Texture stays 0).
void LoadScript(TParticleScript& script, const std::string& fileName);
/// LoadScript that also returns what the load found.
TScriptLoadReport LoadScriptWithReport(TParticleScript& script, const std::string& fileName);
/// As above, but reads the file at `path` while the log names it `fileName`. A file over 64 MiB
/// before its first NUL is refused like one that cannot be opened. A relative "loadtexture" name is
/// read below `textureRoot` when one is given (empty: the working directory); the log is the same
/// whatever the root, and TextureFiles lists the paths as read.
TScriptLoadReport LoadScriptWithReport(TParticleScript& script, const std::string& fileName,
                                       const std::string& path, const std::string& textureRoot = {});
/// The same load from the file's bytes in memory (`text`, which a NUL ends like the file's); the log
/// names `fileName`. For the bytes of a file that LoadScriptWithReport reads, record, log and report
/// are the same byte for byte. "loadtexture" reads below `textureRoot` as LoadScriptWithReport does.
TScriptLoadReport LoadScriptFromText(TParticleScript& script, const std::string& fileName,
                                     std::string_view text, const std::string& textureRoot = {});

/// Particles EmitParticles creates for a type holding `existing`: trunc(numParticles) minus
/// `existing` (continuous) or trunc(numParticles), never below 0 nor past MaxScriptParticlesPerType held.
std::int32_t ScriptParticlesToEmit(float numParticles, bool continuous, std::int32_t existing);
/// One frame, dt in seconds. The first call of a script (after a load or RestartScript) first runs its
/// prewarm in steps of ScriptStepSeconds without drawing (what RunPrewarmSteps left of it). Every step
/// works at `origin` plus EmitterPathOffset(EmitterPath, Time): first the types' looks are handed to
/// their containers ("local" particles carried by the origin's move, the "ground" laid under it). Then:
/// top-up (continuous scripts only), the bursts whose time Time has reached, the births of each "rate"
/// (floor(carry + rate x dt), the fraction carried on), UpdateAndDraw on every container (each
/// type's Events cleared first and switched on for a type with sub-emitters), RunSubEmitters, and Time += dt
/// (a dt that is not a positive number leaves Time as it is). A script that uses none of the newer commands
/// runs exactly as it did before them.
void AdvanceScript(TParticleScript& script, const TVector3& origin, float dt);
/// Turns the deaths and bounces that the containers' Events hold into the sub-emitters' particles:
/// per event, Count particles of the target type, created as that type creates its particles with the
/// event's position in place of the origin (so with no "position" they start exactly there; they take
/// their own type's velocity and inherit none). At most MaxScriptSubParticlesPerStep particles per call
/// and the particle caps; when a limit drops particles, one line is appended to DebugLog (once per
/// record). The events are left in place; AdvanceScript clears them before the next pass.
void RunSubEmitters(TParticleScript& script);
/// True when the script can show nothing more: no live particle, no continuous top-up of a type with a
/// particle count of 1 or more, no "rate" above 0, and no burst left to fire.
bool ScriptFinished(const TParticleScript& script);
/// Seconds of play (the prewarm not counted) after which the script shows nothing more, when that can
/// be known from its settings: no continuous top-up, every burst's last firing plus the longest life of
/// its type, and sub-emitted types' lives after that. Unknown (empty) for a continuous script, a type
/// with a "rate" above 0 or a chain of sub-emitters that can go round.
std::optional<double> ScriptLength(const TParticleScript& script);
/// Back to the state right after the load: every particle and event removed, Time 0, every burst
/// unfired, no rate carry and no last origin; the next AdvanceScript runs the prewarm again, as a first frame
/// does. Settings, tiles, magnets, blending, debug view and buffer objects stay. The random generator is not
/// touched.
void RestartScript(TParticleScript& script);
/// Brings the script to `steps` fixed steps of play after its start (its prewarm first) from the
/// beginning: RestartScript, SeedRandom(seed), the prewarm, then `steps` steps of ScriptStepSeconds
/// with nothing drawn. The same arguments always give the same particles, bit for bit the particles of
/// a restart, the seed and `steps` AdvanceScript frames of ScriptStepSeconds. `steps` is clamped to
/// 0 .. MaxFixedSteps (one hour).
void SeekScriptSteps(TParticleScript& script, const TVector3& origin, std::int64_t steps, std::uint64_t seed);
/// SeekScriptSteps to the whole step nearest to `seconds` (StepsForSeconds), or, with another `step`,
/// to the nearest whole number of steps of that length (at most a million of them; a `step` that is
/// not a positive number is ScriptStepSeconds). Seconds are clamped to 0 .. MaxScriptSeekSeconds.
void SeekScript(TParticleScript& script, const TVector3& origin, double seconds, std::uint64_t seed,
                float step = ScriptStepSeconds);
/// Whether the script has a first frame still to come: not started, or its prewarm not yet all run.
bool ScriptWarmingUp(const TParticleScript& script);
/// Starts the script if it has not started, then runs up to `maxSteps` fixed steps of its prewarm
/// with nothing drawn; returns the steps run. What AdvanceScript's first call does at once, a slice
/// at a time, so a host can spread a long prewarm over several frames.
std::int64_t RunPrewarmSteps(TParticleScript& script, const TVector3& origin, std::int64_t maxSteps);
/// Starts the script if it has not started and runs whatever is left of its prewarm, drawing nothing.
void FinishPrewarm(TParticleScript& script, const TVector3& origin);
/// One fixed step of play (ScriptStepSeconds) with nothing drawn, the prewarm first if it has not run.
void RunScriptStep(TParticleScript& script, const TVector3& origin);
/// Seconds of play since the start, the prewarm not counted; 0 before the first frame.
double ScriptPlayedSeconds(const TParticleScript& script);
/// Ends every emission of the script for good (continuous top-up, rates, bursts, sub-emitters); the live
/// particles fly on. For an earlier version of a script that is being replaced.
void StopScriptEmission(TParticleScript& script);
/// Creates the particles of every type: the missing ones (continuous) or the full count. Bursts and
/// sub-emitters are not its business: AdvanceScript fires them.
void EmitParticles(TParticleScript& script, const TVector3& origin);
/// Deletes the buffer objects of the containers and the textures they and `Texture` name, then
/// empties the record (the log too), so a host can load the script again without leaking GL objects.
void ReleaseScript(TParticleScript& script);
/// Flips the debug view of every container; returns the last one's new flag, false when none.
bool ToggleScriptDebug(TParticleScript& script);

} // namespace lumidor
