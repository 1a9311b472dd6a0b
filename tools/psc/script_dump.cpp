#include "tools/psc/script_dump.h"

#include <nlohmann/json.hpp>

namespace lumidor {

namespace {

// Numbers stored as float32 so that they print in their shortest form that reads back exactly.
using TJson = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                   std::uint64_t, float>;

TJson Vector(const TVector3& v) {
    return TJson::array({v.x, v.y, v.z});
}

TJson Range(const TScriptVectorRange& range) {
    TJson json = TJson::object();
    json["spread"] = Vector(range.Spread);
    json["base"] = Vector(range.Base);
    return json;
}

TJson LifeCurves(const TParticleLifeCurves& life) {
    TJson json = TJson::object();
    TJson& colors = json["colorKeys"] = TJson::array();
    for (const TLifeColorKey& key : life.ColorKeys)
        colors.push_back(TJson::array({key.Time, key.Color.x, key.Color.y, key.Color.z}));
    TJson& alphas = json["alphaKeys"] = TJson::array();
    for (const TLifeAlphaKey& key : life.AlphaKeys)
        alphas.push_back(TJson::array({key.Time, key.Alpha}));
    TJson& sizes = json["sizeKeys"] = TJson::array();
    for (const TLifeSizeKey& key : life.SizeKeys)
        sizes.push_back(TJson::array({key.Time, key.Width, key.Height}));
    TJson& flipbook = json["flipbook"] = TJson::object();
    flipbook["first"] = std::int64_t(life.Flipbook.FirstTile);
    flipbook["count"] = std::int64_t(life.Flipbook.TileCount);
    flipbook["cycles"] = life.Flipbook.Cycles;
    return json;
}

const char* ShapeName(TEmitterShape shape) {
    switch (shape) {
    case TEmitterShape::Sphere:
        return "sphere";
    case TEmitterShape::SphereShell:
        return "shell";
    case TEmitterShape::Disc:
        return "disc";
    case TEmitterShape::Ring:
        return "ring";
    default:
        return "box";
    }
}

TJson Emission(const TScriptEmission& emission) {
    TJson json = TJson::object();
    json["shape"] = ShapeName(emission.Emitter.Shape);
    json["radius"] = emission.Emitter.Radius;
    json["outward"] = emission.Emitter.OutwardSpeed;
    TJson& bursts = json["bursts"] = TJson::array();
    for (const TScriptBurst& burst : emission.Bursts) {
        TJson b = TJson::object();
        b["time"] = burst.Time;
        b["count"] = std::int64_t(burst.Count);
        b["interval"] = burst.Interval;
        b["repeats"] = std::int64_t(burst.Repeats);
        bursts.push_back(std::move(b));
    }
    TJson& subEmitters = json["subEmitters"] = TJson::array();
    for (const TScriptSubEmitter& sub : emission.SubEmitters) {
        TJson e = TJson::object();
        e["event"] = sub.Event == TScriptEvent::Death ? "death" : "bounce";
        e["type"] = std::int64_t(sub.Type);
        e["count"] = std::int64_t(sub.Count);
        subEmitters.push_back(std::move(e));
    }
    return json;
}

/// The look commands a type was given, each under its command's name, in the order the script writes
/// their arguments (the axes of vortex and shapeaxis as unit vectors).
TJson Look(const TScriptLook& look) {
    TJson json = TJson::object();
    if (look.HasRotation) json["rotation"] = TJson::array({look.Rotation.Spread, look.Rotation.Base});
    if (look.HasSpin) json["spin"] = TJson::array({look.Spin.Spread, look.Spin.Base});
    if (look.Stretch != 0.0f) json["stretch"] = look.Stretch;
    if (look.HasRate) json["rate"] = look.Rate;
    if (look.HasTint) {
        json["tint"] = TJson::array({look.TintFirst.x, look.TintFirst.y, look.TintFirst.z, look.TintSecond.x,
                                     look.TintSecond.y, look.TintSecond.z});
    }
    const TTurbulence& turbulence = look.Turbulence;
    if (turbulence.Strength != 0.0f || turbulence.Scale != 1.0f || turbulence.Speed != 0.0f)
        json["turbulence"] = TJson::array({turbulence.Strength, turbulence.Scale, turbulence.Speed});
    const TVortex& vortex = look.Vortex;
    if (vortex.Speed != 0.0f || vortex.Pull != 0.0f || vortex.Axis.x != 0.0f || vortex.Axis.y != 1.0f ||
        vortex.Axis.z != 0.0f)
        json["vortex"] =
            TJson::array({vortex.Axis.x, vortex.Axis.y, vortex.Axis.z, vortex.Speed, vortex.Pull});
    if (look.Trail.Points > 0) {
        TJson& trail = json["trail"] = TJson::object();
        trail["seconds"] = look.Trail.Seconds;
        trail["points"] = std::int64_t(look.Trail.Points);
        trail["width"] = look.Trail.Width;
    }
    if (look.HasBounce) json["bounce"] = TJson::array({look.KeepY, look.KeepXZ});
    if (look.DieOnGround) json["dieOnGround"] = true;
    if (look.HasShapeAxis) json["shapeAxis"] = Vector(look.ShapeAxis);
    if (look.Local) json["local"] = true;
    return json;
}

TJson ParticleType(const TParticleScript& script, const TScriptLoadReport& report, std::size_t t) {
    const TScriptValues& values = script.Values[t];
    const TScriptRanges& ranges = script.Ranges[t];
    const TScriptVectors& vectors = script.Vectors[t];
    const TParticleEffectContainer& container = script.Containers[t];

    TJson type = TJson::object();
    TJson& v = type["values"] = TJson::object();
    v["mass"] = values.Mass;
    v["particleCount"] = values.NumParticles;
    v["airResistance"] = values.AirResistance;
    v["beginFadeOut"] = values.BeginFadeOut;
    v["endFadeIn"] = values.EndFadeIn;
    v["textureTile"] = values.TextureTile;

    TJson& r = type["ranges"] = TJson::object();
    r["life"] = TJson::array({ranges.Life.Spread, ranges.Life.Base});
    r["randomSize"] = TJson::array({ranges.RandomSize.First, ranges.RandomSize.Second});
    r["size"] = TJson::array({ranges.Size.First, ranges.Size.Second});
    r["enlargement"] = TJson::array({ranges.Enlargement.First, ranges.Enlargement.Second});

    TJson& w = type["vectors"] = TJson::object();
    w["force"] = Vector(vectors.Force);
    w["color"] = Vector(vectors.Color);
    w["inertia"] = Vector(vectors.Inertia);

    TJson& q = type["vectorRanges"] = TJson::object();
    q["velocity"] = Range(script.VectorRanges[t].Velocity);
    q["position"] = Range(script.VectorRanges[t].Position);

    type["blend"] = TJson::array({std::uint64_t(container.BlendSrc), std::uint64_t(container.BlendDst)});
    type["tileCount"] = std::int64_t(container.TextureTiles.size());
    type["tilesSet"] = t < report.TilesSet.size() && report.TilesSet[t];
    type["life"] = LifeCurves(container.Life);
    if (t < script.Emission.size()) type["emission"] = Emission(script.Emission[t]);
    // Only a type given one of the look commands shows them, so other dumps stay as they were.
    if (t < script.Look.size() && script.Look[t].Used) type["look"] = Look(script.Look[t]);
    TJson& magnets = type["magnets"] = TJson::array();
    for (const TMagnetPoint& m : container.MagnetPoints) {
        TJson magnet = TJson::object();
        magnet["id"] = std::int64_t(m.Id);
        magnet["position"] = Vector(m.Position);
        magnet["radius"] = m.Radius;
        magnet["gravity"] = m.Gravity;
        magnet["mode"] = std::int64_t(m.Mode);
        magnets.push_back(std::move(magnet));
    }
    return type;
}

} // namespace

std::string DumpScriptJson(const TParticleScript& script, const TScriptLoadReport& report) {
    TJson json = TJson::object();
    json["continuous"] = script.Continuous;
    json["fadeOut"] = script.FadeOut;
    json["fadeIn"] = script.FadeIn;
    json["textureLoaded"] = report.TextureLoaded;
    json["prewarm"] = script.Prewarm;
    if (script.HasGround) json["ground"] = script.GroundHeight;
    TJson& types = json["types"] = TJson::array();
    const std::size_t count = std::min({script.Containers.size(), script.Values.size(), script.Ranges.size(),
                                        script.Vectors.size(), script.VectorRanges.size()});
    for (std::size_t t = 0; t < count; ++t)
        types.push_back(ParticleType(script, report, t));
    return json.dump();
}

} // namespace lumidor
