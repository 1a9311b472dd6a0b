// Picking and following a particle without any GL context: the views are given, as the pass observer
// would capture them, and the passes are the sweep run against the recording GL table.

#include "app/debug/particle_picking.h"
#include "app/debug/picked_particle.h"
#include "demo_camera.h"
#include "engine/gl_recorder.h"
#include "engine/particle_step_breakdown.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lumidor;

namespace {

using lumidor::testing::DemoCamera;

void Add(TParticleEffectContainer& container, const TVector3& position, float life = 10.0f) {
    AddParticle(container, position, {0.1f, 0.1f, 0.1f}, {1, 1, 1}, 0, life);
}

TVector3 Pixel(const TScreenView& view, const TVector3& point) {
    float x = 0, y = 0;
    EXPECT_TRUE(ProjectToWindow(view, point, x, y));
    return {x, y, 0};
}

} // namespace

TEST(ParticlePicking, TheNearestParticleAsDrawnWinsAcrossSystemsAndPasses) {
    TParticleEffectContainer left, right;
    Add(left, {-1.0f, 0.0f, 0.0f});
    Add(left, {0.0f, 0.0f, 0.0f});
    Add(right, {0.0f, 0.0f, 0.0f}); // same world point, drawn 0.2 units (29 pixels) to the right
    const TScreenView leftView = DemoCamera(), rightView = DemoCamera(800, 600, 0.2f);
    const TVector3 centre = Pixel(leftView, {0, 0, 0});
    ASSERT_NEAR(centre.x, 400.0f, 1e-3f);

    TPick pick;
    ConsiderForPick(pick, left, leftView); // no click: nothing is considered
    EXPECT_EQ(pick.Best, nullptr);

    RequestPick(pick, centre.x + 30.0f, centre.y + 4.0f);
    StartPickSearch(pick);
    ConsiderForPick(pick, left, leftView);
    EXPECT_EQ(pick.Best, &left);
    EXPECT_EQ(pick.BestIndex, 1);
    EXPECT_NEAR(pick.BestDistance, std::hypot(30.0f, 4.0f), 1e-3f);
    ConsiderForPick(pick, right, rightView); // drawn about 4 pixels from the click: nearer
    EXPECT_EQ(pick.Best, &right);
    EXPECT_EQ(pick.BestIndex, 0);
    EXPECT_EQ(pick.BestView.Modelview[12], 0.2f);
    ConsiderForPick(pick, left, leftView); // farther again: the pick stays
    EXPECT_EQ(pick.Best, &right);

    // The best system drawn once more in another view: the particle is where that pass drew it.
    const TScreenView moved = DemoCamera(800, 600, 0.22f);
    ConsiderForPick(pick, right, moved);
    EXPECT_EQ(pick.Best, &right);
    EXPECT_EQ(pick.BestView.Modelview[12], 0.22f);
}

TEST(ParticlePicking, NothingFartherThanThePickRadiusOrBehindTheCameraIsPicked) {
    TParticleEffectContainer container;
    const TScreenView view = DemoCamera();
    Add(container, {0.0f, 0.0f, 6.0f}); // behind the camera, whose eye is at z = 5
    Add(container, {0.0f, 0.0f, 0.0f});
    TPick pick;
    RequestPick(pick, 400.0f + kPickRadius + 1.0f, 300.0f);
    StartPickSearch(pick);
    ConsiderForPick(pick, container, view);
    EXPECT_EQ(pick.Best, nullptr);
    EXPECT_EQ(pick.BestIndex, -1);

    RequestPick(pick, 400.0f + kPickRadius - 1.0f, 300.0f);
    StartPickSearch(pick);
    ConsiderForPick(pick, container, view);
    EXPECT_EQ(pick.Best, &container);
    EXPECT_EQ(pick.BestIndex, 1);

    // A new effect pass starts the search afresh: the last frame's candidate is forgotten.
    StartPickSearch(pick);
    EXPECT_EQ(pick.Best, nullptr);
    EXPECT_EQ(pick.BestDistance, kPickRadius);
    EXPECT_EQ(pick.BestView.Width, 0);
}

TEST(ParticleInspection, APickedParticleIsFollowedThroughTheSweepAndMarkedWhereItIsDrawn) {
    InstallGLRecorder();
    TParticleEffectContainer container, other;
    for (int k = 0; k < 3; ++k)
        Add(container, {float(k) - 1.0f, 0.0f, 0.0f}, k == 0 ? 0.1f : 10.0f); // the first dies in the pass
    SetParticleVelocity(container, {0.0f, 1.0f, 0.0f}, 2);
    Add(other, {0, 0, 0});
    const TScreenView view = DemoCamera();
    TPick pick;
    RequestPick(pick, Pixel(view, {1.0f, 0.0f, 0.0f}).x, 300.0f);
    StartPickSearch(pick);
    ConsiderForPick(pick, container, view);
    ASSERT_EQ(pick.BestIndex, 2);
    TInspectedParticle inspected = InspectPickedParticle(pick, "Script 1 type 1", 11);
    EXPECT_EQ(inspected.Key, &container);
    EXPECT_EQ(inspected.System, "Script 1 type 1");
    EXPECT_EQ(inspected.Slot, 11);
    EXPECT_TRUE(inspected.Running);
    EXPECT_FALSE(inspected.StepSeen);
    EXPECT_EQ(inspected.Record.Position.x, 1.0f);
    EXPECT_TRUE(LivesIn(inspected, container));
    EXPECT_FALSE(LivesIn(inspected, other));

    // Another system's pass leaves it alone; its own pass breaks its step down and moves it.
    inspected.Running = false;
    InspectBeforePass(inspected, other, 0.5f);
    EXPECT_FALSE(inspected.Running);
    EXPECT_EQ(inspected.Step.Index, -1);
    InspectBeforePass(inspected, container, 0.5f);
    EXPECT_TRUE(inspected.Running);
    EXPECT_EQ(inspected.Step.Index, 2);
    UpdateAndDraw(container, 0.5f);
    ASSERT_EQ(ParticleCount(container), 2);
    const TScreenView later = DemoCamera(800, 600, 0.25f);
    InspectAfterPass(inspected, container, later);
    ASSERT_FALSE(inspected.Gone);
    EXPECT_TRUE(inspected.StepSeen);
    EXPECT_EQ(inspected.Index, 0); // moved into the dead particle's place
    EXPECT_EQ(inspected.Record.Position.x, ReadParticle(container, 0).Position.x);
    EXPECT_GT(inspected.Record.Position.y, 0.0f);
    EXPECT_EQ(inspected.View.Modelview[12], 0.25f);

    // The mark: two squares around the pixel where its last pass drew it.
    std::vector<TScreenLine> lines;
    AddInspectionMark(lines, inspected);
    ASSERT_FALSE(lines.empty());
    const TVector3 at = Pixel(later, inspected.Record.Position);
    EXPECT_NEAR(lines[0].X0, at.x - 8.0f, 1e-3f);
    EXPECT_NEAR(lines[0].Y0, at.y - 8.0f, 1e-3f);
    std::vector<TScreenLine> wider;
    AddMark(wider, at.x, at.y, 8.0f);
    AddMark(wider, at.x, at.y, 9.0f);
    EXPECT_EQ(lines.size(), wider.size());

    // No mark while its system is not running, nor once it is gone.
    inspected.Running = false;
    lines.clear();
    AddInspectionMark(lines, inspected);
    EXPECT_TRUE(lines.empty());
    inspected.Running = true;
    InspectBeforePass(inspected, container, 0.5f);
    while (ParticleCount(container) > 0)
        RemoveParticle(container, 0);
    InspectAfterPass(inspected, container, later);
    EXPECT_TRUE(inspected.Gone);
    AddInspectionMark(lines, inspected);
    EXPECT_TRUE(lines.empty());
}

TEST(ParticleInspection, AStillPassKeepsTheStepLastTakenAndMovesTheMark) {
    InstallGLRecorder();
    TParticleEffectContainer container;
    Add(container, {0.0f, 0.0f, 0.0f});
    SetParticleVelocity(container, {0.0f, 1.0f, 0.0f}, 0);
    SetParticleForce(container, {0.0f, -2.0f, 0.0f}, 0);
    const TScreenView view = DemoCamera();
    TPick pick;
    RequestPick(pick, 400.0f, 300.0f);
    StartPickSearch(pick);
    ConsiderForPick(pick, container, view);
    TInspectedParticle inspected = InspectPickedParticle(pick, "FloorEffect", 0);
    const float step = 1.0f / 60.0f;
    InspectBeforePass(inspected, container, step);
    UpdateAndDraw(container, step);
    InspectAfterPass(inspected, container, view);
    ASSERT_TRUE(inspected.StepSeen);
    const TParticle moved = inspected.Record;
    EXPECT_NE(inspected.Step.Before.Velocity.y, inspected.Step.After.Velocity.y);
    EXPECT_NE(inspected.Step.Before.Position.y, moved.Position.y);

    // Paused frames draw the system with no time and put its particles back; the inspector still
    // shows the step that moved the particle, and the mark follows the latest view.
    const TScreenView shifted = DemoCamera(800, 600, 0.3f);
    for (int frame = 0; frame < 3; ++frame) {
        inspected.Running = false;
        TParticleEffectContainer other;
        InspectStillPass(inspected, other, shifted); // another system: nothing
        EXPECT_FALSE(inspected.Running);
        InspectStillPass(inspected, container, shifted);
        EXPECT_TRUE(inspected.Running);
    }
    EXPECT_EQ(inspected.Step.Dt, step);
    EXPECT_EQ(inspected.Record.Position.y, moved.Position.y);
    EXPECT_EQ(inspected.Step.After.Velocity.y, moved.Velocity.y);
    EXPECT_EQ(inspected.View.Modelview[12], 0.3f);
}

TEST(ParticleInspection, TheOpacityShownIsTheOneDrawn) {
    InstallGLRecorder();
    const struct {
        std::vector<TLifeAlphaKey> Keys;
        const char* Text; // after half a second of a life of two, fading out from the start
    } cases[] = {
        {{}, "Opacity drawn 0.750 (fading; no alpha keys)"},
        {{{0.0f, 1.0f}, {1.0f, 0.2f}}, "Opacity drawn 0.600 = fading 0.750 x alpha keys 0.800"},
        {{{0.0f, 0.5f}}, "Opacity drawn 0.375 = fading 0.750 x alpha keys 0.500"},
    };
    for (const auto& c : cases) {
        TParticleEffectContainer container;
        Add(container, {0.0f, 0.0f, 0.0f}, 2.0f);
        SetParticleBeginFadeOut(container, 0, 0.0f);
        container.Life.AlphaKeys = c.Keys;
        TPick pick;
        RequestPick(pick, 400.0f, 300.0f);
        StartPickSearch(pick);
        ConsiderForPick(pick, container, DemoCamera());
        TInspectedParticle inspected = InspectPickedParticle(pick, "System", 0);
        InspectBeforePass(inspected, container, 0.5f);
        TVertexBuffer vertices(4);
        SimulateParticles(container, 0.5f, TCameraAxes{}, vertices.data());
        InspectAfterPass(inspected, container, DemoCamera());
        ASSERT_FALSE(inspected.Gone);
        EXPECT_EQ(OpacityText(inspected), c.Text);
        // The opacity the vertices carry, to the byte.
        EXPECT_EQ(ColorChannelByte(DrawnOpacity(inspected)), vertices[0].A) << c.Text;
        EXPECT_EQ(inspected.Life.AlphaFactor, inspected.Step.Life.AlphaFactor);
    }
}
