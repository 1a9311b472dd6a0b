#pragma once
// One particle step in order, over lanes of any width: fade, magnet pull, target, acceleration,
// bounce, air, move, impulse decay and growth. The particles come through an accessor: the sweep's
// reads and writes a group's fields in its blocks, the inspector's one particle's record, so both
// run this one sequence. The accessor is read at the point of each first use, which keeps the
// sweep's loads in the order the blocks lay its fields out.
//
// An accessor `Particles` has:
//   TFadeInputs<W> FadeInputs(float dt)          the fading's fields, LifeLeft aged by dt
//   void StoreFade(const TFadeInputs<W>&, const TFade<W>&)
//   TLanes3<W> Load(TField field)
//   void Store(TField field, const TLanes3<W>&)
// and, for the extended step (StepParticles<W, true>):
//   TLanes<W> LoadAngle(), TLanes<W> LoadSpin()  degrees, degrees per second
//   void StoreAngle(TLanes<W>)
//   void EndLives(TMask<W> ended)                 the ended lanes' LifeLeft below zero (kEndedLife)
//
// The extended step is the instantiation for containers that use what UsesExtendedStep
// (engine/particle_extended_step.h) lists; every term of it stands under `if constexpr (Extended)`,
// so the plain step is the very code it was without them. Where its terms go, in order:
//   - the turbulence (engine/particle_flow.h): its acceleration times dt is added to the velocity
//     after the target speed's, before the ground's bounce;
//   - dying on the ground: a lane that meets the ground keeps its velocity into it for the move, so
//     it goes on to where it meets the ground, then stops there (zero velocity) and its life ends
//     (EndLives), so that the next pass removes it; its bounce is still reported;
//   - the vortex: after the move, the position turns about the axis and is drawn towards it (the
//     velocity is left as it is: the swirl carries the particle); a stopped lane stays put;
//   - the angle's step (angle += spin x dt, wrapped): after the growth, its result in TMoved::Angle
//     for the drawing.

#include "engine/particle_ground.h"
#include "engine/particle_turn.h"

namespace lumidor::physics {
namespace {

/// The vector fields the motion reads and writes.
enum class TField {
    Position,
    MagnetImpulse,
    Force,
    Inertia,
    TargetInverse,
    Velocity,
    Size,
    Enlargement,
    MagnetForce,
    DebugTip
};

/// What the step leaves for drawing.
template <int W> struct TMoved {
    TLanes<W> Alpha;
    TLanes3<W> Position, Size;
    TLanes3<W> Velocity;
    TLanes<W> Angle; // the extended step's angle after the step, wrapped degrees (0 in the plain step)
};

/// The step's intermediate values, for showing one particle's step; the sweep keeps none.
template <int W> struct TStepTrace {
    TLanes3<W> MagnetForce;
    TTargetTerms<W> Terms;
    TLanes3<W> Target, Step;
    TMask3<W> Accelerated;
    TLanes3<W> Turbulence; // zero without turbulence
    TLanes3<W> VelocityBeforeBounce, VelocityAfterBounce;
    TGroundContact<W> Contact;
    TMask<W> Stopped; // lanes the ground stopped, to die in the next pass
    TLanes<W> AirKept;
    TLanes3<W> VortexMove; // zero without a vortex
};

/// The life left of a particle stopped by the ground: below zero, so the next pass removes it.
constexpr float kEndedLife = -1.0f;

// Sixteen lanes are bound by their operations: a group whose particles share the pass's inertia
// and mass takes its target factors and impulse decay from the pass. Eight and four lanes have half
// as many registers, and there keeping the pass's constants would cost spills instead.
template <int W> constexpr bool kSharedTargetShortcut = W == 16;

// Whether every particle of the group has the first particle's inertia and mass, as the particles
// of an effect usually do: their target factors and impulse decay are then the pass's.
template <int W>
LUMIDOR_LANES_INLINE bool SharesFirstParticle(const TMotionPass<W>& pass, const TLanes3<W>& inertia,
                                              TLanes<W> mass) {
    if (!kSharedTargetShortcut<W> || !pass.HasSharedTarget) return false;
    const TMask3<W>& bits = pass.SharedInertiaBits;
    const TMask<W> same = (TMask<W>(inertia.x) == bits.x) & (TMask<W>(inertia.y) == bits.y) &
                          (TMask<W>(inertia.z) == bits.z) & (TMask<W>(mass) == pass.SharedMassBits);
    return !Any(~same);
}

/// Ages, fades and moves the accessor's particles by one step of pass.Dt (Extended: with the terms of
/// the extended step too). `bounced` (when not null) receives the lanes that bounced on the ground in
/// this step.
template <int W, bool Extended = false, typename Particles>
LUMIDOR_LANES_INLINE TMoved<W> StepParticles(const TMotionPass<W>& pass, Particles& particles,
                                             TStepTrace<W>* trace = nullptr, TMask<W>* bounced = nullptr) {
    const TFadeInputs<W> life = particles.FadeInputs(pass.Dt);
    const TFade<W> fade = Fade(life);
    particles.StoreFade(life, fade);

    const TLanes<W> dt = Splat<W>(pass.Dt), zero = Splat<W>(0.0f);
    TLanes3<W> position = particles.Load(TField::Position);
    const TLanes3<W> magnetForce = pass.MagnetCount ? MagnetPull(pass.Magnets, pass.MagnetCount, position)
                                                    : TLanes3<W>{zero, zero, zero};
    TLanes3<W> impulse = particles.Load(TField::MagnetImpulse) + magnetForce;

    const TLanes3<W> force = particles.Load(TField::Force);
    const TLanes3<W> inertia = particles.Load(TField::Inertia);
    const TLanes<W> mass = life.Mass;
    const bool sharesFirst = SharesFirstParticle(pass, inertia, mass);
    const TTargetTerms<W> terms = sharesFirst ? TargetTerms(force, pass.Wind, impulse, pass.SharedFactorsX,
                                                            pass.SharedFactorsY, pass.SharedFactorsZ)
                                              : TargetTerms(force, pass.Wind, impulse, inertia, mass,
                                                            particles.Load(TField::TargetInverse));
    const TLanes3<W> target = TargetOf(terms);
    const TLanes3<W> step = target * dt;

    TLanes3<W> velocity = particles.Load(TField::Velocity);
    const TMask3<W> climbs = Accelerates(velocity, target, step);
    velocity = Accelerate(velocity, climbs, step);
    if constexpr (Extended) {
        if (pass.Flow.Turbulent) {
            const TLanes3<W> stir = TurbulenceAcceleration<W>(pass.Flow, position);
            velocity = velocity + stir * dt;
            if (trace) trace->Turbulence = stir;
        }
    }
    if (trace) {
        trace->MagnetForce = magnetForce;
        trace->Terms = terms;
        trace->Target = target;
        trace->Step = step;
        trace->Accelerated = climbs;
        trace->VelocityBeforeBounce = velocity;
    }
    [[maybe_unused]] TMask<W> stopped{}; // the lanes the ground stops (dying on the ground)
    if (pass.World) {
        TGroundContact<W> contact;
        const bool stops = Extended && pass.Flow.DieOnGround;
        const TLanes3<W> arriving = velocity;
        velocity = Collide(pass, position, velocity, trace || bounced || stops ? &contact : nullptr);
        if (trace) trace->Contact = contact;
        if (bounced) *bounced = contact.Bounced;
        if constexpr (Extended) {
            if (stops) {
                stopped = contact.Bounced;
                velocity = Select3(stopped, arriving, velocity);
            }
        }
    }
    const TLanes<W> kept = AirKept<W>(life.AirResistance, dt);
    if (trace) {
        trace->VelocityAfterBounce = velocity;
        trace->AirKept = kept;
    }
    Move(position, velocity, kept, dt);
    if constexpr (Extended) {
        if (Any(stopped)) {
            velocity = Select3(stopped, TLanes3<W>{zero, zero, zero}, velocity);
            particles.EndLives(stopped);
        }
        if (trace) trace->Stopped = stopped;
        if (pass.Flow.Swirls) {
            const TLanes3<W> swirled = Select3(stopped, position, Swirl<W>(pass.Flow, position));
            if (trace) trace->VortexMove = swirled - position;
            position = swirled;
        }
    }
    impulse = impulse * (sharesFirst ? pass.SharedImpulseKept : ImpulseKept(inertia, dt));

    particles.Store(TField::Position, position);
    if (pass.Debug)
        particles.Store(TField::DebugTip,
                        position + TipVelocity(velocity, target, step) * Splat<W>(pass.DebugScale));
    // Only the decay of this step's magnet force stays in the impulse.
    particles.Store(TField::MagnetImpulse, impulse - magnetForce);
    particles.Store(TField::Velocity, velocity);
    const TLanes3<W> size = particles.Load(TField::Size) + particles.Load(TField::Enlargement) * dt;
    particles.Store(TField::Size, size);
    particles.Store(TField::MagnetForce, magnetForce);
    if constexpr (Extended) {
        // Only a turning container's particles carry angles: the others' stay as they are, unread.
        if (!pass.Turns) return {fade.Alpha, position, size, velocity, zero};
        const TLanes<W> angle = turn::AdvanceAngle<W>(particles.LoadAngle(), particles.LoadSpin(), dt);
        particles.StoreAngle(angle);
        return {fade.Alpha, position, size, velocity, angle};
    } else {
        return {fade.Alpha, position, size, velocity, zero};
    }
}

// The first particle's target factors, unless its inertia and mass take the term-by-term path.
template <int W>
void SetSharedTarget(TMotionPass<W>& pass, const TVector3& firstInertia, float firstMass,
                     const TVector3& firstInverse) {
    const TLanes3<W> inertia = Splat3<W>(firstInertia);
    const TLanes3<W> inverse = Splat3<W>(firstInverse);
    const TLanes<W> mass = Splat<W>(firstMass);
    if (inverse.x[0] != inverse.x[0] || inverse.y[0] != inverse.y[0] || inverse.z[0] != inverse.z[0]) return;
    pass.HasSharedTarget = true;
    pass.SharedInertiaBits = {TMask<W>(inertia.x), TMask<W>(inertia.y), TMask<W>(inertia.z)};
    pass.SharedMassBits = TMask<W>(mass);
    pass.SharedFactorsX = TargetFactors<W>(inertia.x, mass, inverse.x);
    pass.SharedFactorsY = TargetFactors<W>(inertia.y, mass, inverse.y);
    pass.SharedFactorsZ = TargetFactors<W>(inertia.z, mass, inverse.z);
    pass.SharedImpulseKept = ImpulseKept(inertia, Splat<W>(pass.Dt));
}

/// The pass's motion constants for `container` and time step `dt`.
template <int W> TMotionPass<W> MakeMotionPass(const TParticleEffectContainer& container, float dt) {
    TMotionPass<W> pass;
    pass.Dt = dt;
    pass.Wind = Splat3<W>(container.Wind);
    pass.Magnets = container.MagnetPoints.data();
    pass.MagnetCount = container.MagnetPoints.size();
    SetWorld(pass, container.World);
    pass.Debug = container.DebugMode;
    pass.DebugScale = container.DebugScale;
    pass.Turns = container.Rotating;
    pass.Flow = MakeFlowPass<W>(container, dt);
    return pass;
}

} // namespace
} // namespace lumidor::physics
