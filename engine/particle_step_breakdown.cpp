// Built with -ffp-contract=off like the sweep: every operation below is the sweep's, in its order,
// so the floats are the ones the sweep computes for this particle.

#include "engine/particle_step_breakdown.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace lumidor {

namespace {

float Component(const TVector3& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}
float& Component(TVector3& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

TMagnetContribution MagnetShare(const TMagnetPoint& magnet, const TVector3& position) {
    TMagnetContribution share;
    share.Id = magnet.Id;
    share.Mode = magnet.Mode;
    share.Radius = magnet.Radius;
    share.Gravity = magnet.Gravity;
    TVector3 delta{position.x - magnet.Position.x, position.y - magnet.Position.y,
                   position.z - magnet.Position.z};
    const float distance = std::sqrt(delta.x * delta.x + delta.y * delta.y + delta.z * delta.z);
    share.Distance = distance;
    if (magnet.Mode < 0 || magnet.Mode > 2) return share; // inert
    share.InRange = !(distance > magnet.Radius);          // exactly at the radius counts
    if (!share.InRange) return share;
    if (magnet.Mode == 0) {
        const float falloff = distance + 1.0f;
        for (int axis = 0; axis < 3; ++axis) {
            float& d = Component(delta, axis);
            const float above = (d - magnet.Radius) / falloff * magnet.Gravity;
            const float below = (d + magnet.Radius) / falloff * magnet.Gravity;
            d = d > 0.0f ? above : d < 0.0f ? below : d;
        }
    } else {
        const float divisor = distance == 0.0f ? 1.0f : distance;
        const float scale =
            magnet.Mode == 1 ? magnet.Gravity / ((distance + 1.0f) * divisor) : magnet.Gravity / divisor;
        if (std::fabs(scale) <= std::numeric_limits<float>::max()) {
            delta = {delta.x * scale, delta.y * scale, delta.z * scale};
        } else {
            // The sweep's fallback where the shared scale overflows: normalise first, scale after.
            for (int axis = 0; axis < 3; ++axis) {
                float& d = Component(delta, axis);
                d = d / divisor * magnet.Gravity;
                if (magnet.Mode == 1) d = d / (distance + 1.0f);
            }
        }
    }
    share.Force = delta;
    return share;
}

float WholePart(float coordinate) {
    if (coordinate >= 0.0f && coordinate < 8388608.0f) return float(std::int32_t(coordinate));
    return std::floor(coordinate);
}

float ClampCell(float whole, float lastCell) {
    const float low = whole >= 0.0f ? whole : 0.0f; // NaN becomes 0 here
    return low < lastCell ? low : lastCell;
}

// The ground test of the sweep for one particle; true with `velocity` reflected on a bounce.
bool Bounce(const TCollisionConvexWorld& world, float dt, const TVector3& position, TVector3& velocity,
            TVector3& normal) {
    if (!HasCollision(world)) return false;
    const float predictedX = position.x + velocity.x * dt;
    const float predictedY = position.y + velocity.y * dt;
    const float predictedZ = position.z + velocity.z * dt;
    const TVector3& origin = world.Origin;
    const bool inside = predictedX >= origin.x && predictedX <= origin.x + world.Extent.x &&
                        predictedZ >= origin.z && predictedZ <= origin.z + world.Extent.z;
    if (!inside) return false;
    const float gridX = (predictedX - origin.x) * (1.0f / world.CellSizeX);
    const float gridZ = (predictedZ - origin.z) * (1.0f / world.CellSizeZ);
    const float wholeX = WholePart(gridX);
    const float wholeZ = WholePart(gridZ);
    const auto x = std::size_t(ClampCell(wholeX, float(world.Normals.size() - 1)));
    const auto z = std::size_t(ClampCell(wholeZ, float(world.Normals[0].size() - 1)));
    const float fractionX = gridX - wholeX;
    const float fractionZ = gridZ - wholeZ;
    const HDataArray& heights = *world.Heights;
    const float nearEdge = (1.0f - fractionX) * heights[x][z] + fractionX * heights[x + 1][z];
    const float farEdge = (1.0f - fractionX) * heights[x][z + 1] + fractionX * heights[x + 1][z + 1];
    const float surface = (1.0f - fractionZ) * nearEdge + fractionZ * farEdge + origin.y;
    if (predictedY > surface + 0.2f || predictedY < surface - 0.2f) return false;
    normal = world.Normals[x][z];
    const float twiceAlong = 2.0f * (normal.x * velocity.x + normal.y * velocity.y + normal.z * velocity.z);
    velocity = {(velocity.x - normal.x * twiceAlong) * (1.0f - world.WorldFriction.x),
                (velocity.y - normal.y * twiceAlong) * (1.0f - world.WorldFriction.y),
                (velocity.z - normal.z * twiceAlong) * (1.0f - world.WorldFriction.z)};
    return true;
}

// Both ramps, fade-in second so that it wins; a flag that is off leaves its half untouched.
void Fade(TParticle& particle) {
    const float lived = particle.LifeLength - particle.LifeLeft;
    const float fadeOutStart = particle.LifeLength * particle.BeginFadeOut;
    const float fadeInEnd = particle.LifeLength * particle.EndFadeIn;
    if (particle.FadeOut && fadeOutStart <= lived) {
        particle.FadeOutAlpha = particle.LifeLeft / (particle.LifeLength - fadeOutStart);
        particle.FadeInAlpha = 0.0f;
    }
    if (particle.FadeIn && fadeInEnd >= lived) {
        particle.FadeInAlpha = lived / fadeInEnd;
        particle.FadeOutAlpha = 0.0f;
    }
    particle.Alpha = particle.FadeInAlpha + particle.FadeOutAlpha;
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
    TParticle p = step.Before;
    p.LifeLeft = p.LifeLeft - dt;
    step.Dies = p.LifeLeft < 0.0f;
    Fade(p);

    const TVector3 position = p.Position;
    for (const TMagnetPoint& magnet : container.MagnetPoints) {
        step.Magnets.push_back(MagnetShare(magnet, position));
        const TVector3 force = step.Magnets.back().Force;
        step.MagnetForce = {step.MagnetForce.x + force.x, step.MagnetForce.y + force.y,
                            step.MagnetForce.z + force.z};
    }
    TVector3 impulse{p.MagnetImpulse.x + step.MagnetForce.x, p.MagnetImpulse.y + step.MagnetForce.y,
                     p.MagnetImpulse.z + step.MagnetForce.z};

    // A = F / (I + 1) + W / (10 I m + 1) + M / (I m + 1), with the sweep's single division, or its
    // three separate ones when the product of the denominators reaches 2^126 on any axis.
    bool huge = false;
    for (int axis = 0; axis < 3; ++axis) {
        const float inertia = Component(p.Inertia, axis);
        const float abc = (inertia + 1.0f) * ((inertia * 10.0f * p.Mass + 1.0f) * (inertia * p.Mass + 1.0f));
        huge = huge || !(abc < 0x1p126f);
    }
    TVector3 velocity = p.Velocity;
    for (int axis = 0; axis < 3; ++axis) {
        const float inertia = Component(p.Inertia, axis);
        const float a = inertia + 1.0f;
        const float b = inertia * 10.0f * p.Mass + 1.0f;
        const float c = inertia * p.Mass + 1.0f;
        if (huge) {
            Component(step.ForceTerm, axis) = Component(p.Force, axis) / a;
            Component(step.WindTerm, axis) = Component(container.Wind, axis) / b;
            Component(step.MagnetTerm, axis) = Component(impulse, axis) / c;
        } else {
            const float bc = b * c;
            const float inverse = 1.0f / (a * bc);
            Component(step.ForceTerm, axis) = Component(p.Force, axis) * (bc * inverse);
            Component(step.WindTerm, axis) = Component(container.Wind, axis) * (a * c * inverse);
            Component(step.MagnetTerm, axis) = Component(impulse, axis) * (a * b * inverse);
        }
        const float target = Component(step.ForceTerm, axis) + Component(step.WindTerm, axis) +
                             Component(step.MagnetTerm, axis);
        Component(step.Target, axis) = target;
        const float stepSize = target * dt;
        Component(step.Step, axis) = stepSize;
        float& v = Component(velocity, axis);
        step.Accelerated[axis] = std::fabs(v - target) > stepSize;
        if (step.Accelerated[axis]) v = v + stepSize;
    }
    step.VelocityBeforeBounce = velocity;
    step.Bounced = Bounce(container.World, dt, position, velocity, step.GroundNormal);
    step.VelocityAfterBounce = velocity;
    step.AirKept = 1.0f - p.AirResistance * dt;
    velocity = {velocity.x * step.AirKept, velocity.y * step.AirKept, velocity.z * step.AirKept};
    p.Velocity = velocity;
    p.Position = {position.x + velocity.x * dt, position.y + velocity.y * dt, position.z + velocity.z * dt};
    impulse = {impulse.x * (1.0f - dt / p.Inertia.x), impulse.y * (1.0f - dt / p.Inertia.y),
               impulse.z * (1.0f - dt / p.Inertia.z)};
    if (container.DebugMode) {
        // One more acceleration step where it stays within the target's size.
        TVector3 tip = p.Position;
        for (int axis = 0; axis < 3; ++axis) {
            const float v = Component(velocity, axis);
            const float stepSize = Component(step.Step, axis);
            const float tipVelocity =
                std::fabs(v - stepSize) <= std::fabs(Component(step.Target, axis)) ? v + stepSize : v;
            Component(tip, axis) = Component(p.Position, axis) + tipVelocity * container.DebugScale;
        }
        p.DebugTip = tip;
    }
    // Only the decay of this step's magnet force stays in the impulse.
    p.MagnetImpulse = {impulse.x - step.MagnetForce.x, impulse.y - step.MagnetForce.y,
                       impulse.z - step.MagnetForce.z};
    p.Size = {p.Size.x + p.Enlargement.x * dt, p.Size.y + p.Enlargement.y * dt,
              p.Size.z + p.Enlargement.z * dt};
    p.MagnetForce = step.MagnetForce;
    step.After = p;
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
    for (std::int32_t i = 0; i < count; ++i) {
        if (matches(i)) return i;
    }
    return -1;
}

} // namespace lumidor
