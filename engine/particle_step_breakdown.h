#pragma once
// What moves one particle: its coming step of UpdateAndDraw taken apart into the terms of the
// motion (force, wind and magnet impulse, each magnet point's pull, the ground's bounce), evaluated
// with the sweep's own formulas and rounding for that one particle only, before the pass runs. The
// sweep itself is untouched, so inspecting costs nothing while no particle is inspected.

#include "particle_container.h"
#include "simulation.h"

#include <cstdint>
#include <vector>

namespace lumidor {

/// One magnet point's share of a particle's MagnetForce in a step.
struct TMagnetContribution {
    std::int32_t Id = 0;   ///< the magnet point's Id
    std::int32_t Mode = 0; ///< its mode in this step (0, 1, 2 act; others are inert)
    float Radius = 0.0f;   ///< its reach
    float Gravity = 0.0f;  ///< its strength; negative pushes
    float Distance = 0.0f; ///< from the magnet to the particle at the start of the step
    bool InRange = false;  ///< active mode (0, 1, 2) and not farther than Radius
    TVector3 Force;        ///< what it added to MagnetForce (zero when not InRange)
};

/// The step of one particle; velocities and terms in units per second.
struct TParticleStepBreakdown {
    std::int32_t Index = -1; ///< the particle's index when the pass began; -1: no such particle
    float Dt = 0.0f;         ///< the pass's time step in seconds
    bool Dies = false;       ///< its life runs out in this pass: removed before it moves (After unused)
    TParticle Before;        ///< the record when the pass began
    TParticle After;         ///< the record the pass leaves behind
    std::vector<TMagnetContribution> Magnets; ///< every magnet point of the container, in array order
    TVector3 MagnetForce;                     ///< the contributions summed in array order
    TVector3 ForceTerm;                       ///< Force / (I + 1)
    TVector3 WindTerm;                        ///< Wind / (10 I m + 1)
    TVector3 MagnetTerm;                      ///< (MagnetImpulse + MagnetForce) / (I m + 1)
    TVector3 Target;                          ///< target speed A = (ForceTerm + WindTerm) + MagnetTerm
    TVector3 Step;                            ///< A dt, added on each axis where Accelerated
    bool Accelerated[3] = {};                 ///< per axis: |V - A| > A dt
    /// The container's turbulence at the particle, units per second per second: Turbulence dt is
    /// added after the acceleration (zero without turbulence)
    TVector3 Turbulence;
    TVector3 VelocityBeforeBounce; ///< Before.Velocity after the acceleration and the turbulence
    bool Bounced = false;          ///< the ground reflected the velocity (or stopped it: StoppedOnGround)
    /// The container's DieOnGround stopped the particle where it met the ground: After has no
    /// velocity and a life below zero, so the next pass removes it
    bool StoppedOnGround = false;
    TVector3 GroundNormal; ///< normal of the cell it bounced on (when Bounced)
    /// Equal to VelocityBeforeBounce unless Bounced; when StoppedOnGround, it too: the particle goes on
    /// into the ground this step, to where it meets it
    TVector3 VelocityAfterBounce;
    float AirKept = 1.0f; ///< 1 - AirResistance dt: the velocity's factor on every axis
    /// How the vortex moved the particle after the velocity had carried it (zero without a vortex)
    TVector3 VortexMove;
    TLifeSample Life; ///< what the container's curves draw for it in this pass (nothing without curves)
    float AngleBefore = 0.0f; ///< its angle when the pass began, degrees (TParticleView::Angle)
    float AngleAfter = 0.0f;  ///< its angle after the pass: AngleBefore + Spin dt wrapped into [-180, 180)
                              ///< in a Rotating container, else AngleBefore
    float Spin = 0.0f;        ///< its spin, degrees per second
};

/// Record of particle `index` (0 <= index < ParticleCount). Single particles are read through here.
TParticle ReadParticle(const TParticleEffectContainer& container, std::int32_t index);

/// Evaluates particle `index`'s coming step of UpdateAndDraw(dt) exactly as the sweep will, changing
/// nothing. Call it just before the pass. An index outside the container gives Index -1.
TParticleStepBreakdown BreakDownParticleStep(const TParticleEffectContainer& container, std::int32_t index,
                                             float dt);

/// Where the particle of `step` is after the pass: its old index unless it was moved into a dead
/// particle's slot; -1 when it died (or no particle matches the record the step predicted). After a
/// still pass (DrawParticlesStill: dt 0, nothing written) it is where it was, as it was.
std::int32_t FindParticleAfterStep(const TParticleEffectContainer& container,
                                   const TParticleStepBreakdown& step);

} // namespace lumidor
