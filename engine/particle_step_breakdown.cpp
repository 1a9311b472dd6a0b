// The breakdown runs the sweep's own physics (engine/particle_motion.h) on one lane, with the
// particle's record as the accessor and a trace of the step's terms, so its floats are the ones the
// sweep computes for this particle.

#include "engine/particle_step_breakdown.h"

#include "engine/particle_blocks.h"
#include "engine/particle_extended_step.h"
#include "engine/particle_motion.h"

#include <cstring>

namespace lumidor {

namespace {

using namespace lanes;
using physics::TField;

constexpr int kOne = 4; // the narrowest lanes; the breakdown reads lane 0

TVector3 LaneZero(const TLanes3<kOne>& v) {
    return {v.x[0], v.y[0], v.z[0]};
}

// One particle's record as the physics' accessor: every field splat across the lanes.
struct TRecordAccessor {
    TParticle& Record;
    TVector3 TargetInverse; // as the particle's block keeps it
    float Angle = 0.0f;     // as its turn block keeps them
    float Spin = 0.0f;

    TVector3& Field(TField field) {
        switch (field) {
        case TField::Position:
            return Record.Position;
        case TField::MagnetImpulse:
            return Record.MagnetImpulse;
        case TField::Force:
            return Record.Force;
        case TField::Inertia:
            return Record.Inertia;
        case TField::TargetInverse:
            return TargetInverse;
        case TField::Velocity:
            return Record.Velocity;
        case TField::Size:
            return Record.Size;
        case TField::Enlargement:
            return Record.Enlargement;
        case TField::MagnetForce:
            return Record.MagnetForce;
        case TField::DebugTip:
            break;
        }
        return Record.DebugTip;
    }
    physics::TFadeInputs<kOne> FadeInputs(float dt) const {
        const TParticle& p = Record;
        return {Splat<kOne>(p.Mass),
                Splat<kOne>(p.LifeLength),
                physics::Age(Splat<kOne>(p.LifeLeft), dt),
                Splat<kOne>(p.FadeInAlpha),
                Splat<kOne>(p.FadeOutAlpha),
                Splat<kOne>(p.BeginFadeOut),
                Splat<kOne>(p.EndFadeIn),
                Splat<kOne>(p.AirResistance),
                SplatMask<kOne>(p.FadeOut),
                SplatMask<kOne>(p.FadeIn)};
    }
    void StoreFade(const physics::TFadeInputs<kOne>& in, const physics::TFade<kOne>& fade) {
        Record.LifeLeft = in.LifeLeft[0];
        Record.Alpha = fade.Alpha[0];
        Record.FadeInAlpha = fade.FadeIn[0];
        Record.FadeOutAlpha = fade.FadeOut[0];
    }
    TLanes3<kOne> Load(TField field) { return Splat3<kOne>(Field(field)); }
    void Store(TField field, const TLanes3<kOne>& value) { Field(field) = LaneZero(value); }
    void EndLives(TMask<kOne> ended) {
        if (ended[0]) Record.LifeLeft = physics::kEndedLife;
    }
    TLanes<kOne> LoadAngle() const { return Splat<kOne>(Angle); }
    TLanes<kOne> LoadSpin() const { return Splat<kOne>(Spin); }
    void StoreAngle(TLanes<kOne> angle) { Angle = angle[0]; }
};

TMagnetContribution MagnetShare(const TMagnetPoint& magnet, const TVector3& position) {
    TMagnetContribution share;
    share.Id = magnet.Id;
    share.Mode = magnet.Mode;
    share.Radius = magnet.Radius;
    share.Gravity = magnet.Gravity;
    const TLanes3<kOne> delta = physics::MagnetOffset(magnet, Splat3<kOne>(position));
    const TLanes<kOne> distance = physics::Length(delta);
    share.Distance = distance[0];
    if (!physics::MagnetActs(magnet)) return share;
    share.InRange = physics::InMagnetRange<kOne>(magnet, distance)[0] != 0;
    if (share.InRange) share.Force = LaneZero(physics::MagnetPullAt(magnet, delta, distance));
    return share;
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBits(const TVector3& a, const TVector3& b) {
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

} // namespace

TParticle ReadParticle(const TParticleEffectContainer& container, std::int32_t index) {
    return container.Particles[std::size_t(index)];
}

TParticleStepBreakdown BreakDownParticleStep(const TParticleEffectContainer& container, std::int32_t index,
                                             float dt) {
    TParticleStepBreakdown step;
    if (index < 0 || index >= ParticleCount(container)) return step;
    step.Index = index;
    step.Dt = dt;
    step.Before = ReadParticle(container, index);
    for (const TMagnetPoint& magnet : container.MagnetPoints)
        step.Magnets.push_back(MagnetShare(magnet, step.Before.Position));

    const TParticleBlock& block = container.Particles.Blocks()[std::size_t(index) / kParticleBlockLanes];
    const std::size_t lane = std::size_t(index) % kParticleBlockLanes;
    const TParticleTurnBlock& turn =
        container.Particles.Blocks().Turn[std::size_t(index) / kParticleBlockLanes];
    TParticle p = step.Before;
    TRecordAccessor particle{
        p,
        {block.TargetInverse.x[lane], block.TargetInverse.y[lane], block.TargetInverse.z[lane]},
        turn.Angle[lane],
        turn.Spin[lane]};
    step.AngleBefore = particle.Angle;
    step.Spin = particle.Spin;
    const physics::TMotionPass<kOne> pass = physics::MakeMotionPass<kOne>(container, dt);
    physics::TStepTrace<kOne> trace{}; // the terms a step leaves out stay zero
    if (UsesExtendedStep(container))
        physics::StepParticles<kOne, true>(pass, particle, &trace);
    else
        physics::StepParticles(pass, particle, &trace);
    step.AngleAfter = particle.Angle;

    // From the aged life: a particle stopped on the ground lives through this pass with its life ended.
    step.Dies = physics::Dies(physics::Age(Splat<kOne>(step.Before.LifeLeft), dt))[0] != 0;
    step.MagnetForce = LaneZero(trace.MagnetForce);
    step.ForceTerm = LaneZero(trace.Terms.Force);
    step.WindTerm = LaneZero(trace.Terms.Wind);
    step.MagnetTerm = LaneZero(trace.Terms.Impulse);
    step.Target = LaneZero(trace.Target);
    step.Step = LaneZero(trace.Step);
    step.Accelerated[0] = trace.Accelerated.x[0] != 0;
    step.Accelerated[1] = trace.Accelerated.y[0] != 0;
    step.Accelerated[2] = trace.Accelerated.z[0] != 0;
    step.Turbulence = LaneZero(trace.Turbulence);
    step.VelocityBeforeBounce = LaneZero(trace.VelocityBeforeBounce);
    step.Bounced = pass.World && trace.Contact.Bounced[0] != 0;
    if (step.Bounced) step.GroundNormal = LaneZero(trace.Contact.Normal);
    step.VelocityAfterBounce = LaneZero(trace.VelocityAfterBounce);
    step.AirKept = trace.AirKept[0];
    step.StoppedOnGround = trace.Stopped[0] != 0;
    step.VortexMove = LaneZero(trace.VortexMove);
    step.After = p;
    step.Life = SampleLifeCurves(container.Life, p.LifeLength, p.LifeLeft);
    // Tinted keys draw the key colour times the particle's own, as the sweep's vertex stage does.
    if (step.Life.HasColor && container.Life.TintColorKeys) {
        const TLanes3<kOne> tinted = Splat3<kOne>(step.Life.Color) * Splat3<kOne>(p.Color);
        step.Life.Color = LaneZero(tinted);
    }
    return step;
}

std::int32_t FindParticleAfterStep(const TParticleEffectContainer& container,
                                   const TParticleStepBreakdown& step) {
    if (step.Index < 0 || step.Dies) return -1;
    const TParticle& expected = step.After;
    auto matches = [&](std::int32_t i) {
        const TParticle particle = ReadParticle(container, i);
        return SameBits(particle.LifeLeft, expected.LifeLeft) &&
               SameBits(particle.LifeLength, expected.LifeLength) &&
               SameBits(particle.Position, expected.Position) &&
               SameBits(particle.Velocity, expected.Velocity);
    };
    const std::int32_t count = ParticleCount(container);
    // Removal only moves the last particle into a dead one's slot, so it is usually where it was.
    if (step.Index < count && matches(step.Index)) return step.Index;
    // A still pass (a paused frame) draws the step of no time but leaves every record as it was.
    if (step.Dt == 0.0f && step.Index < count &&
        SameParticleBits(ReadParticle(container, step.Index), step.Before))
        return step.Index;
    for (std::int32_t i = 0; i < count; ++i) {
        if (matches(i)) return i;
    }
    return -1;
}

} // namespace lumidor
