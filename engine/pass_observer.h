#pragma once
// A host's view into the per-frame passes: called just before and just after every container's
// UpdateAndDraw, so a profiler or inspector can time, count and look at each system without any
// code in the sweep. Nothing is called while no observer is installed.

namespace lumidor {

struct TParticleEffectContainer;

/// Callbacks around UpdateAndDraw; either may be null. `context` is handed back unchanged.
struct TPassObserver {
    /// Before anything of the pass happens (no GL call made yet), with the pass's dt in seconds.
    void (*BeforePass)(TParticleEffectContainer& container, float dt, void* context) = nullptr;
    /// After the pass has drawn (debug lines included) and restored its state.
    void (*AfterPass)(TParticleEffectContainer& container, float dt, void* context) = nullptr;
    void* Context = nullptr; ///< handed back to both callbacks
};

/// Installs `observer` (copied) for every later pass; null removes it. One observer at a time.
void SetPassObserver(const TPassObserver* observer);

/// Called by UpdateAndDraw before its pass.
void NotifyBeforePass(TParticleEffectContainer& container, float dt);
/// Called by UpdateAndDraw after its pass.
void NotifyAfterPass(TParticleEffectContainer& container, float dt);

} // namespace lumidor
