#pragma once
// The sweep of one width: a group of W particles read from and written to their blocks, holes
// filled just before a group is stepped, the group stepped by the physics and drawn by the vertex
// layout. Each instruction set's translation unit (engine/sweep_*.cpp) instantiates SweepOfWidth and
// StillSweepOfWidth for its widths; the scheduling around it is compiled once
// (engine/sweep_schedule.cpp). Curves over a particle's life, the bounce events and the still pass
// (what a pass of no time draws, with nothing written back) are instantiations of their own, chosen
// once per pass, so a container that uses none of them runs the very code it ran without them. So is
// the extended step (engine/particle_extended_step.h): particles that turn, drawn turned or
// stretched, reading their angles from the turn blocks that no other instantiation touches.

#include "engine/particle_blocks.h"
#include "engine/particle_extended_step.h"
#include "engine/particle_life_curves.h"
#include "engine/particle_motion.h"
#include "engine/particle_turn.h"
#include "engine/particle_vertices.h"
#include "engine/simulation.h"
#include "engine/sweep_schedule.h"

namespace lumidor::sweep {
namespace {

using namespace lanes;
using physics::TField;

// W consecutive particles starting at lane `Lane` of a block (0, or 4 for the second half of a block
// on four lanes; sixteen lanes span two whole blocks): each field of the group is one vector load
// from the block, or two from the two blocks. The accessor the physics steps (engine/particle_motion.h).
template <int W> struct TBlockGroup {
    TParticleBlock* Block;
    TParticleColdBlock* Cold; // the block's colour and debug tip
    std::size_t Lane;
    float* LifeLeft;          // the first particle's, followed by the others'
    TParticleTurnBlock* Turn; // the block's angles and spins, read only by the extended step

    template <typename Vector = TLanes<W>, typename Value>
    LUMIDOR_LANES_INLINE static Vector Get(const Value* first) {
        return LoadSpread<W, Vector>(first, sizeof(TParticleBlock));
    }
    LUMIDOR_LANES_INLINE physics::TFadeInputs<W> FadeInputs(float dt) const {
        const TParticleBlock& block = *Block;
        physics::TFadeInputs<W> in;
        in.Mass = Get(block.Mass + Lane);
        in.LifeLength = Get(block.LifeLength + Lane);
        in.LifeLeft = physics::Age(LoadContiguous<W>(LifeLeft), dt);
        in.FadeIn = Get(block.FadeInAlpha + Lane);
        in.FadeOut = Get(block.FadeOutAlpha + Lane);
        in.BeginFadeOut = Get(block.BeginFadeOut + Lane);
        in.EndFadeIn = Get(block.EndFadeIn + Lane);
        in.AirResistance = Get(block.AirResistance + Lane);
        in.FadeOutOn = FlagsSpread<W>(block.FadeOut + Lane, sizeof(TParticleBlock));
        in.FadeInOn = FlagsSpread<W>(block.FadeIn + Lane, sizeof(TParticleBlock));
        return in;
    }
    LUMIDOR_LANES_INLINE void StoreFade(const physics::TFadeInputs<W>& in,
                                        const physics::TFade<W>& fade) const {
        TParticleBlock& block = *Block;
        StoreContiguous<W>(LifeLeft, in.LifeLeft);
        StoreSpread<W>(block.Alpha + Lane, sizeof(TParticleBlock), fade.Alpha);
        StoreSpread<W>(block.FadeInAlpha + Lane, sizeof(TParticleBlock), fade.FadeIn);
        StoreSpread<W>(block.FadeOutAlpha + Lane, sizeof(TParticleBlock), fade.FadeOut);
    }
    LUMIDOR_LANES_INLINE TBlockVector3& Field(TField field) const {
        TParticleBlock& block = *Block;
        switch (field) {
        case TField::Position:
            return block.Position;
        case TField::MagnetImpulse:
            return block.MagnetImpulse;
        case TField::Force:
            return block.Force;
        case TField::Inertia:
            return block.Inertia;
        case TField::TargetInverse:
            return block.TargetInverse;
        case TField::Velocity:
            return block.Velocity;
        case TField::Size:
            return block.Size;
        case TField::Enlargement:
            return block.Enlargement;
        case TField::MagnetForce:
            return block.MagnetForce;
        case TField::DebugTip:
            break;
        }
        return Cold->DebugTip;
    }
    LUMIDOR_LANES_INLINE TLanes3<W> Load(TField field) const {
        const TBlockVector3& values = Field(field);
        return {Get(values.x + Lane), Get(values.y + Lane), Get(values.z + Lane)};
    }
    LUMIDOR_LANES_INLINE void Store(TField field, const TLanes3<W>& value) const {
        TBlockVector3& values = Field(field);
        // The debug tip lies in the cold blocks, whose second follows the first at their own size.
        const std::size_t spread =
            field == TField::DebugTip ? sizeof(TParticleColdBlock) : sizeof(TParticleBlock);
        StoreSpread<W>(values.x + Lane, spread, value.x);
        StoreSpread<W>(values.y + Lane, spread, value.y);
        StoreSpread<W>(values.z + Lane, spread, value.z);
    }
    LUMIDOR_LANES_INLINE void EndLives(TMask<W> ended) const {
        StoreContiguous<W>(LifeLeft,
                           Select(ended, Splat<W>(physics::kEndedLife), LoadContiguous<W>(LifeLeft)));
    }
    LUMIDOR_LANES_INLINE TLanes<W> LoadAngle() const {
        return LoadSpread<W>(Turn->Angle + Lane, sizeof(TParticleTurnBlock));
    }
    LUMIDOR_LANES_INLINE TLanes<W> LoadSpin() const {
        return LoadSpread<W>(Turn->Spin + Lane, sizeof(TParticleTurnBlock));
    }
    LUMIDOR_LANES_INLINE void StoreAngle(TLanes<W> angle) const {
        StoreSpread<W>(Turn->Angle + Lane, sizeof(TParticleTurnBlock), angle);
    }
    // The colours of the group's particles, 0..1 per channel, from its cold blocks.
    LUMIDOR_LANES_INLINE TLanes3<W> LoadColor() const {
        const TBlockVector3& color = Cold->Color;
        return {LoadSpread<W>(color.x + Lane, sizeof(TParticleColdBlock)),
                LoadSpread<W>(color.y + Lane, sizeof(TParticleColdBlock)),
                LoadSpread<W>(color.z + Lane, sizeof(TParticleColdBlock))};
    }
};

// A group read as TBlockGroup reads it whose stores never reach the blocks: the still pass draws
// what the step leaves and changes no particle. The step loads no field after storing it
// (engine/particle_motion.h), so dropping the stores leaves every value it computes as it was; the
// aged lives and the debug tips, which the drawing reads afterwards, are kept here instead.
template <int W> struct TStillGroup {
    TBlockGroup<W> Group;
    TLanes<W> LifeLeft{};
    TLanes3<W> DebugTip{};

    LUMIDOR_LANES_INLINE physics::TFadeInputs<W> FadeInputs(float dt) const { return Group.FadeInputs(dt); }
    LUMIDOR_LANES_INLINE void StoreFade(const physics::TFadeInputs<W>& in, const physics::TFade<W>&) {
        LifeLeft = in.LifeLeft;
    }
    LUMIDOR_LANES_INLINE TLanes3<W> Load(TField field) const { return Group.Load(field); }
    LUMIDOR_LANES_INLINE void Store(TField field, const TLanes3<W>& value) {
        if (field == TField::DebugTip) DebugTip = value;
    }
    LUMIDOR_LANES_INLINE void EndLives(TMask<W>) {} // the still pass writes no life
    LUMIDOR_LANES_INLINE TLanes<W> LoadAngle() const { return Group.LoadAngle(); }
    LUMIDOR_LANES_INLINE TLanes<W> LoadSpin() const { return Group.LoadSpin(); }
    LUMIDOR_LANES_INLINE void StoreAngle(TLanes<W>) const {} // the drawing takes the step's own
};

// Room for one group of any width gathered from its slots (sixteen lanes span two blocks), for the
// still pass's groups that a real pass would first fill from elsewhere: holes and a short last group.
struct TGatheredGroup {
    TParticleBlock Blocks[2];
    TParticleColdBlock Cold[2];
    alignas(64) float LifeLeft[2 * kParticleBlockLanes];
    TParticleTurnBlock Turn[2];
};

/// What every group of one pass reads.
template <int W> struct TWidthPass {
    physics::TMotionPass<W> Motion;
    vertices::TVertexPass Vertices;
    TParticleFields Particles;
    life::TLifePass Life;        // read only by the keyed instantiation
    vertices::TBookCorners Book; // the same
    turn::TTurnPass Turn;        // read only by the extended instantiation
    TDebugLine* Lines;           // the still pass's debug lines, by final index (null: none)
};

/// Which extras a pass's instantiation carries: curves over life, bounce events, the still pass, the
/// extended step.
struct TSweepExtras {
    bool Keyed;
    bool Events;
    bool Still = false;
    bool Extended = false;
};

// Appends a bounce event for every lane of the first `lanes` that bounced.
template <int W>
void ReportBounces(TMask<W> bounced, const physics::TMoved<W>& moved, int lanes,
                   std::vector<TParticleEvent>& bounces) {
    for (int lane = 0; lane < lanes; ++lane) {
        if (!bounced[lane]) continue;
        bounces.push_back({{moved.Position.x[lane], moved.Position.y[lane], moved.Position.z[lane]},
                           {moved.Velocity.x[lane], moved.Velocity.y[lane], moved.Velocity.z[lane]}});
    }
}

// The group that starts at particle `index` (a multiple of W).
template <int W> LUMIDOR_LANES_INLINE TBlockGroup<W> GroupAt(TParticleFields particles, std::size_t index) {
    const std::size_t block = index / kParticleBlockLanes;
    return {particles.Blocks + block, particles.Cold + block, index % kParticleBlockLanes,
            particles.LifeLeft + index, particles.Turn + block};
}

// A move also copies colour and debug tip, from a cold block the sweep does not otherwise read into
// another: fetched a couple of moves ahead, their lines are there when needed instead of stalling
// the stream of blocks.
constexpr std::ptrdiff_t kColdBlocksFetchedAhead = 2;

LUMIDOR_LANES_INLINE void FetchColdBlocks(TParticleFields particles, const TSweepMove& move) {
    for (const std::size_t index : {move.Hole, move.Source}) {
        const auto* cold = reinterpret_cast<const char*>(particles.Cold + index / kParticleBlockLanes);
        for (std::size_t line = 0; line < sizeof(TParticleColdBlock); line += 64)
            __builtin_prefetch(cold + line);
    }
}

// Writes the vertices of the first `lanes` particles as WriteQuadCorners does, with each quad of
// drawn `width` and `height` upright, turned by the step's angle or laid along its velocity, as the
// pass's turning says. One store for all three, so that the instantiation keeps one copy of it.
template <int W, bool Streaming>
LUMIDOR_LANES_INLINE void WriteTurnedQuads(const TWidthPass<W>& pass, const physics::TMoved<W>& moved,
                                           TLanes<W> width, TLanes<W> height, TLanes<W> alpha,
                                           TMask<W> colorBytes, const TLanes<W> (&u)[4],
                                           const TLanes<W> (&v)[4], int lanes, TParticleVertex* out) {
    turn::TCornerOffsets<W> offsets;
    if (pass.Turn.Mode == turn::TTurnMode::Stretched)
        turn::StretchedCorners<W>(pass.Turn, width, height, moved.Velocity, offsets);
    else if (pass.Turn.Mode == turn::TTurnMode::Turned)
        turn::TurnedCorners<W>(pass.Turn, width, height, moved.Angle, offsets);
    else
        vertices::UprightCorners<W>(pass.Vertices, width, height, offsets);
    vertices::WriteQuadOffsets<W, Streaming>(moved.Position, offsets, alpha, colorBytes, u, v, lanes, out);
}

// Writes the vertices of the first `lanes` particles of `group` as the step left them, their lives
// aged to `lifeLeft`. The extended instantiation draws them turned or stretched when the container
// asks for it (and as the plain one does otherwise).
template <int W, bool Streaming, bool Keyed, bool Extended>
LUMIDOR_LANES_INLINE void DrawGroup(const TWidthPass<W>& pass, const TBlockGroup<W>& group,
                                    TLanes<W> lifeLeft, const physics::TMoved<W>& moved, int lanes,
                                    TParticleVertex* out) {
    const TParticleBlock& block = *group.Block;
    const TMask<W> colorBytes = group.template Get<TMask<W>>(block.ColorBytes + group.Lane);
    const TMask<W> tiles = group.template Get<TMask<W>>(block.Tile + group.Lane);
    if constexpr (Keyed) {
        const TLanes<W> f = life::AgeFraction<W>(group.Get(block.LifeLength + group.Lane), lifeLeft);
        life::TLifeDrawn<W> drawn{moved.Alpha, moved.Size.x, moved.Size.y, colorBytes};
        const auto bytes = [](TLanes<W> c) { return vertices::ChannelBytes<W>(c); };
        // Tinted keys multiply the particles' own colours, read from the cold blocks only then.
        TLanes3<W> colors;
        const TLanes3<W>* tint = nullptr;
        if (pass.Life.TintColorKeys && pass.Life.Color.Count) {
            colors = group.LoadColor();
            tint = &colors;
        }
        life::ApplyLifeKeys<W>(pass.Life, f, bytes, drawn, tint);
        TLanes<W> u[4], v[4];
        if (pass.Book.Tiles > 0 && pass.Book.Tiles <= W)
            vertices::BookCorners<W>(pass.Book, life::FlipbookPlaces<W>(pass.Life, f), u, v);
        else
            vertices::TileCorners<W, Streaming>(
                pass.Vertices, pass.Life.Flipbook ? life::FlipbookTile<W>(pass.Life, f) : tiles, u, v);
        if constexpr (Extended) {
            WriteTurnedQuads<W, Streaming>(pass, moved, drawn.Width, drawn.Height, drawn.Alpha,
                                           drawn.ColorBytes, u, v, lanes, out);
        } else {
            vertices::WriteQuadCorners<W, Streaming>(pass.Vertices, moved.Position,
                                                     {drawn.Width, drawn.Height, moved.Size.z}, drawn.Alpha,
                                                     drawn.ColorBytes, u, v, lanes, out);
        }
    } else if constexpr (Extended) {
        (void)lifeLeft;
        TLanes<W> u[4], v[4];
        vertices::TileCorners<W, Streaming>(pass.Vertices, tiles, u, v);
        WriteTurnedQuads<W, Streaming>(pass, moved, moved.Size.x, moved.Size.y, moved.Alpha, colorBytes, u, v,
                                       lanes, out);
    } else {
        (void)lifeLeft;
        vertices::WriteQuads<W, Streaming>(pass.Vertices, moved.Position, moved.Size, moved.Alpha, colorBytes,
                                           tiles, lanes, out);
    }
}

// The still pass's group: particles [first, first + lanes) as a real pass would fill them, stepped
// and drawn with nothing written back. A group without holes is read in place; one with holes, or a
// short one (which a real pass pads with copies of its last particle), is gathered first. Each drawn
// particle's debug line goes to pass.Lines.
template <int W, bool Streaming, TSweepExtras Extras>
LUMIDOR_LANES_INLINE void StepGroupStill(const TWidthPass<W>& pass, std::size_t first, int lanes,
                                         const TSweepMove*& move, const TSweepMove* movesEnd,
                                         TParticleVertex* out) {
    const std::size_t groupEnd = first + std::size_t(lanes);
    TStillGroup<W> group{GroupAt<W>(pass.Particles, first)};
    TGatheredGroup gathered;
    if (lanes < W || (move != movesEnd && move->Hole < groupEnd)) {
        const TParticleFields into{gathered.Blocks, gathered.Cold, gathered.LifeLeft, gathered.Turn, nullptr};
        std::size_t source = first;
        for (std::size_t lane = 0; lane < std::size_t(W); ++lane) {
            if (lane < std::size_t(lanes)) {
                source = first + lane;
                if (move != movesEnd && move->Hole == source) source = (move++)->Source;
            }
            CopyParticle(pass.Particles, source, into, lane);
        }
        group.Group = GroupAt<W>(into, 0);
    }
    const physics::TMoved<W> moved = physics::StepParticles<W, Extras.Extended>(pass.Motion, group);
    if (out)
        DrawGroup<W, Streaming, Extras.Keyed, Extras.Extended>(pass, group.Group, group.LifeLeft, moved,
                                                               lanes, out);
    if (!pass.Lines) return;
    for (int lane = 0; lane < lanes; ++lane) {
        const std::size_t at = group.Group.Lane + std::size_t(lane);
        const TBlockVector3& color = group.Group.Cold[at / kParticleBlockLanes].Color;
        const std::size_t inBlock = at % kParticleBlockLanes;
        pass.Lines[first + std::size_t(lane)] = {
            {moved.Position.x[lane], moved.Position.y[lane], moved.Position.z[lane]},
            {group.DebugTip.x[lane], group.DebugTip.y[lane], group.DebugTip.z[lane]},
            {color.x[inBlock], color.y[inBlock], color.z[inBlock]}};
    }
}

// Fills the holes among particles [first, first + lanes) from `move` on, each with its particle,
// not yet stepped, from above the final count; pads a short group with copies of its last particle;
// then steps the group and writes the vertices of its first `lanes` particles.
template <int W, bool Streaming, TSweepExtras Extras>
LUMIDOR_LANES_INLINE void FillAndStepGroup(const TWidthPass<W>& pass, std::size_t first, int lanes,
                                           const TSweepMove*& move, const TSweepMove* movesEnd,
                                           TParticleVertex* out, std::vector<TParticleEvent>* bounces) {
    if constexpr (Extras.Still) {
        StepGroupStill<W, Streaming, Extras>(pass, first, lanes, move, movesEnd, out);
        return;
    }
    const TParticleFields particles = pass.Particles;
    const std::size_t groupEnd = first + std::size_t(lanes);
    for (; move != movesEnd && move->Hole < groupEnd; ++move) {
        if (movesEnd - move > kColdBlocksFetchedAhead)
            FetchColdBlocks(particles, move[kColdBlocksFetchedAhead]);
        CopyParticle(particles, move->Source, move->Hole);
    }
    for (std::size_t pad = groupEnd; pad < first + std::size_t(W); ++pad)
        CopyParticle(particles, groupEnd - 1, pad);
    TBlockGroup<W> group = GroupAt<W>(particles, first);
    // The curves draw a particle that dies on the ground as it lived this step, not by the life it
    // is left with, which is already below zero.
    [[maybe_unused]] TLanes<W> drawnLife{};
    if constexpr (Extras.Extended && Extras.Keyed) {
        if (out) drawnLife = physics::Age(LoadContiguous<W>(group.LifeLeft), pass.Motion.Dt);
    }
    physics::TMoved<W> moved;
    if constexpr (Extras.Events) {
        TMask<W> bounced{};
        moved = physics::StepParticles<W, Extras.Extended>(pass.Motion, group, nullptr, &bounced);
        if (Any(bounced)) ReportBounces<W>(bounced, moved, lanes, *bounces);
    } else {
        moved = physics::StepParticles<W, Extras.Extended>(pass.Motion, group);
    }
    if (!out) return;
    if constexpr (Extras.Extended && Extras.Keyed)
        DrawGroup<W, Streaming, true, true>(pass, group, drawnLife, moved, lanes, out);
    else
        DrawGroup<W, Streaming, Extras.Keyed, Extras.Extended>(pass, group, LoadContiguous<W>(group.LifeLeft),
                                                               moved, lanes, out);
}

// TRangeStepper::Step of this width: whole groups with the lane count known (which leaves out every
// check for a short group), then the short one.
template <int W, bool Streaming, TSweepExtras Extras>
void StepRange(const void* state, std::size_t start, std::size_t end, const TSweepMove* move,
               const TSweepMove* movesEnd, TParticleVertex* vertices, std::vector<TParticleEvent>* bounces) {
    // A copy of its own: the stores to the blocks cannot change it, so nothing of it is read twice.
    const TWidthPass<W> pass = *static_cast<const TWidthPass<W>*>(state);
    const auto out = [&](std::size_t first) { return vertices ? vertices + 4 * (first - start) : nullptr; };
    std::size_t first = start;
    for (; end - first >= std::size_t(W); first += W)
        FillAndStepGroup<W, Streaming, Extras>(pass, first, W, move, movesEnd, out(first), bounces);
    if (first < end)
        FillAndStepGroup<W, Streaming, Extras>(pass, first, int(end - first), move, movesEnd, out(first),
                                               bounces);
    vertices::TVertexLayout<W, Streaming>::Finish();
}

// The pass's constants for `container`, curves over life included when `keyed`.
template <int W>
TWidthPass<W> MakeWidthPass(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                            bool keyed) {
    TParticleArray& particles = container.Particles;
    TWidthPass<W> pass{physics::MakeMotionPass<W>(container, dt),
                       vertices::MakeVertexPass(container, camera.Right, camera.Up),
                       particles.Fields(),
                       {},
                       {},
                       turn::MakeTurnPass(container.Rotating, container.Stretch, camera.Right, camera.Up),
                       nullptr};
    if (keyed) {
        pass.Life = life::MakeLifePass(container.Life);
        if (pass.Life.Flipbook)
            pass.Book = vertices::MakeBookCorners(pass.Vertices, container.Life.Flipbook.FirstTile,
                                                  container.Life.Flipbook.TileCount);
    }
    if (physics::kSharedTargetShortcut<W> && !particles.empty()) {
        const TParticleBlock& block = particles.Blocks()[0];
        physics::SetSharedTarget(
            pass.Motion, {block.Inertia.x[0], block.Inertia.y[0], block.Inertia.z[0]}, block.Mass[0],
            {block.TargetInverse.x[0], block.TargetInverse.y[0], block.TargetInverse.z[0]});
    }
    return pass;
}

/// The whole sweep on W lanes with the given extras: ages, removes, fades, moves and writes every
/// particle.
template <int W, bool Streaming, TSweepExtras Extras>
std::int32_t SweepWithExtras(TSweepContext& context, TParticleEffectContainer& container, float dt,
                             const TCameraAxes& camera, TParticleVertex* vertices,
                             const TTaskRunner& runner) {
    TParticleArray& particles = container.Particles;
    const TWidthPass<W> pass = MakeWidthPass<W>(container, dt, camera, Extras.Keyed);
    const std::size_t count = particles.size();
    const TRangeStepper stepper{&StepRange<W, Streaming, Extras>, &pass, std::size_t(W)};
    const std::size_t survivors =
        SweepInRanges(context, stepper, pass.Particles, dt, count, vertices, runner,
                      SweepRangeCount(runner, count), Extras.Events ? &container.Events : nullptr);
    particles.resize(survivors);
    return std::int32_t(4 * survivors);
}

/// SweepWithExtras with curves and events as given, the extended step when `extended`.
template <int W, bool Streaming, bool Keyed, bool Events>
std::int32_t SweepChoosingStep(bool extended, TSweepContext& context, TParticleEffectContainer& container,
                               float dt, const TCameraAxes& camera, TParticleVertex* vertices,
                               const TTaskRunner& runner) {
    if (extended)
        return SweepWithExtras<W, Streaming, TSweepExtras{Keyed, Events, false, true}>(
            context, container, dt, camera, vertices, runner);
    return SweepWithExtras<W, Streaming, TSweepExtras{Keyed, Events}>(context, container, dt, camera,
                                                                      vertices, runner);
}

/// The whole sweep on W lanes: the instantiation for what the container uses, chosen once per pass.
template <int W, bool Streaming>
std::int32_t SweepOfWidth(TSweepContext& context, TParticleEffectContainer& container, float dt,
                          const TCameraAxes& camera, TParticleVertex* vertices, const TTaskRunner& runner) {
    // Curves change only the vertices, so a pass without vertices takes the plain step.
    const bool keyed = vertices && life::HasLifeCurves(container.Life);
    const bool extended = UsesExtendedStep(container);
    if (container.Events.Enabled) {
        if (keyed)
            return SweepChoosingStep<W, Streaming, true, true>(extended, context, container, dt, camera,
                                                               vertices, runner);
        return SweepChoosingStep<W, Streaming, false, true>(extended, context, container, dt, camera,
                                                            vertices, runner);
    }
    if (keyed)
        return SweepChoosingStep<W, Streaming, true, false>(extended, context, container, dt, camera,
                                                            vertices, runner);
    return SweepChoosingStep<W, Streaming, false, false>(extended, context, container, dt, camera, vertices,
                                                         runner);
}

/// What SweepOfWidth with no time would draw, the same vertices in the same slots, with no particle
/// and no event changed: the dead of such a pass are listed (in context.Dead) and their slots drawn
/// as the particles that would fill them, but nothing is removed. In debug mode `lines` (null: none)
/// receives every drawn particle's debug line, by its slot. Events are not recorded.
template <int W, bool Streaming, bool Keyed, bool Extended>
std::int32_t StillSweep(TSweepContext& context, TParticleEffectContainer& container,
                        const TCameraAxes& camera, TParticleVertex* vertices, TDebugLine* lines,
                        const TTaskRunner& runner) {
    TWidthPass<W> pass = MakeWidthPass<W>(container, 0.0f, camera, Keyed);
    pass.Lines = container.DebugMode ? lines : nullptr;
    const std::size_t count = container.Particles.size();
    const TRangeStepper stepper{&StepRange<W, Streaming, TSweepExtras{Keyed, false, true, Extended}>, &pass,
                                std::size_t(W)};
    return std::int32_t(4 * SweepInRanges(context, stepper, pass.Particles, 0.0f, count, vertices, runner,
                                          SweepRangeCount(runner, count)));
}

/// StillSweep with curves over life when the container has them and there are vertices to write, and
/// with the extended step when the container takes it.
template <int W, bool Streaming>
std::int32_t StillSweepOfWidth(TSweepContext& context, TParticleEffectContainer& container,
                               const TCameraAxes& camera, TParticleVertex* vertices, TDebugLine* lines,
                               const TTaskRunner& runner) {
    const bool keyed = vertices && life::HasLifeCurves(container.Life);
    if (UsesExtendedStep(container)) {
        if (keyed)
            return StillSweep<W, Streaming, true, true>(context, container, camera, vertices, lines, runner);
        return StillSweep<W, Streaming, false, true>(context, container, camera, vertices, lines, runner);
    }
    if (keyed)
        return StillSweep<W, Streaming, true, false>(context, container, camera, vertices, lines, runner);
    return StillSweep<W, Streaming, false, false>(context, container, camera, vertices, lines, runner);
}

} // namespace
} // namespace lumidor::sweep
