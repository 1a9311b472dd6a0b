#include "app/core/properties_window.h"

#include "effects/effects.h"
#include "engine/collision_world.h"
#include "engine/particle_container.h"

namespace lumidor {

const std::array<TTrackBarLayout, TrackBarCount> TrackBarLayouts = {{
    {"Wind X:", 8, 8, 0, 24},
    {"Wind Y:", 8, 56, 0, 72},
    {"Wind Z:", 8, 104, 0, 120},
    {"World friction X:", 160, 8, 160, 24},
    {"World friction Y:", 160, 56, 160, 72},
    {"World friction Z:", 160, 104, 160, 120},
}};

TProperties Properties;
TVector3 WindVector;
TVector3 WorldFrictionVector;

float WindComponent(int position) {
    return static_cast<float>((position - 50) / 5.0);
}

float FrictionComponent(int position) {
    return static_cast<float>(position / 100.0);
}

void TrackBarChange(const TProperties& properties, int trackBar) {
    if (trackBar >= 1 && trackBar <= 3) {
        float* const axes[3] = {&WindVector.x, &WindVector.y, &WindVector.z};
        *axes[trackBar - 1] = WindComponent(properties.Positions[static_cast<std::size_t>(trackBar - 1)]);
        SetWind(FloorEffect, WindVector);
        SetWind(AdditiveEffect, WindVector);
        SetWind(TerrainEffect, WindVector);
    } else if (trackBar >= 4 && trackBar <= 6) {
        // FloorEffect keeps the friction its presets give it; AdditiveEffect has no collision world.
        WorldFrictionVector = {FrictionComponent(properties.Positions[3]),
                               FrictionComponent(properties.Positions[4]),
                               FrictionComponent(properties.Positions[5])};
        SetWorldFriction(TerrainEffect, WorldFrictionVector);
    }
}

void ShowProperties(TProperties& properties) {
    properties.BringForward = properties.Visible;
    properties.Visible = true;
}

void Button1Click(TProperties& properties) {
    properties.Visible = false;
}

} // namespace lumidor
