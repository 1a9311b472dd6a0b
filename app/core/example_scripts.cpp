// The example scripts and the ground under bouncing types of scripts without a "ground" of their own
// (example_scripts.h).

#include "app/core/example_scripts.h"

#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/ui_item_rects.h"
#include "engine/collision_world.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace lumidor {

const std::array<TExampleScript, 6> ExampleScripts = {{
    {"Firework", "firework", "scripts/examples/firework.psc"},
    {"Campfire", "campfire", "scripts/examples/campfire.psc"},
    {"Explosion", "explosion", "scripts/examples/explosion.psc"},
    {"Fountain", "fountain", "scripts/examples/fountain.psc"},
    {"Spell", "spell", "scripts/examples/spell.psc"},
    {"Smoke", "smoke", "scripts/examples/smoke.psc"},
}};

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return text;
}

bool HasBounceEmitter(const TParticleScript& script, std::size_t type) {
    if (type >= script.Emission.size()) return false;
    const std::vector<TScriptSubEmitter>& subs = script.Emission[type].SubEmitters;
    return std::any_of(subs.begin(), subs.end(),
                       [](const TScriptSubEmitter& sub) { return sub.Event == TScriptEvent::Bounce; });
}

} // namespace

std::optional<std::string> FindExampleScript(const std::string& name) {
    std::string wanted = Lower(name);
    if (wanted.size() > 4 && wanted.ends_with(".psc")) wanted.resize(wanted.size() - 4);
    for (const TExampleScript& example : ExampleScripts)
        if (wanted == example.Name) return std::string(example.File);
    return std::nullopt;
}

std::string ExampleScriptNames() {
    std::string names;
    for (std::size_t k = 0; k < ExampleScripts.size(); ++k) {
        if (k > 0) names += k + 1 == ExampleScripts.size() ? " or " : ", ";
        names += ExampleScripts[k].Name;
    }
    return names;
}

float ScriptGroundHeight(const TParticleScript& script, std::size_t type, const TVector3& origin) {
    if (type >= script.VectorRanges.size()) return origin.y - PlayedScriptGroundGap;
    const TScriptVectorRange& position = script.VectorRanges[type].Position;
    const TScriptEmitter emitter =
        type < script.Emission.size() ? script.Emission[type].Emitter : TScriptEmitter{};
    float lowest = origin.y + position.Base.y;
    switch (emitter.Shape) {
    case TEmitterShape::Box:
        lowest += std::min(position.Spread.y, 0.0f); // base + R * spread, R in [0, 1)
        break;
    case TEmitterShape::Sphere:
    case TEmitterShape::SphereShell:
        lowest -= std::abs(emitter.Radius);
        break;
    case TEmitterShape::Disc: // flat in the x-z plane, unless "shapeaxis" tilts it
    case TEmitterShape::Ring:
        if (type < script.Look.size() && script.Look[type].Used && script.Look[type].HasShapeAxis) {
            const TVector3 axis = script.Look[type].ShapeAxis;
            const double length =
                std::sqrt(double(axis.x) * axis.x + double(axis.y) * axis.y + double(axis.z) * axis.z);
            const double up = length > 0.0 ? double(axis.y) / length : 1.0;
            // The disc reaches down by its radius times the sine of its tilt.
            lowest -= float(std::abs(emitter.Radius) * std::sqrt(std::max(0.0, 1.0 - up * up)));
        }
        break;
    }
    return lowest - PlayedScriptGroundGap;
}

int GiveBouncingTypesAGround(TParticleScript& script, const TVector3& origin) {
    // A script with its own "ground" has it under every type from the runtime: the demo lays none.
    if (script.HasGround) return 0;
    // A flat 10 x 10 floor as the demo's FloorEffect has, and its friction.
    static const auto flat = std::make_shared<const HDataArray>(HDataArray{{0.0f, 0.0f}, {0.0f, 0.0f}});
    int given = 0;
    for (std::size_t type = 0; type < script.Containers.size(); ++type) {
        TParticleEffectContainer& container = script.Containers[type];
        if (!HasBounceEmitter(script, type) || HasCollision(container.World)) continue;
        const float height = ScriptGroundHeight(script, type, origin);
        if (!std::isfinite(height)) continue; // a start point out of reach has no ground under it
        SetCollisionWorld(container, flat, {origin.x - 5.0f, height, origin.z - 5.0f}, 10.0f, 10.0f);
        SetWorldFriction(container, {0.2f, 0.4f, 0.2f});
        ++given;
    }
    return given;
}

int PlayExampleScript(const TExampleScript& example) {
    return PlayScriptFile(example.File);
}

void DrawExamplesMenu() {
    const bool open = ImGui::BeginMenu("Examples");
    NoteLastItem("Examples");
    if (!open) return;
    for (const TExampleScript& example : ExampleScripts) {
        const int playing = CurrentEffect;
        bool current = false;
        if (playing >= FirstPlayedSlot && std::size_t(playing - FirstPlayedSlot) < PlayedScripts.size())
            current = PlayedScripts[std::size_t(playing - FirstPlayedSlot)].Live.File == example.File;
        if (ImGui::MenuItem(example.Caption, nullptr, current)) PlayExampleScript(example);
        NoteLastItem(example.Caption);
    }
    ImGui::EndMenu();
}

} // namespace lumidor
