// The keyword row-4 commands of the script loader, each with its own preconditions and pattern:
// particle types, magnet points, texture and atlas, blending, continuous emission and fading.

#include "script/script_loader_state.h"
#include "textures/textures.h"

#include <cstdint>
#include <optional>

namespace lumidor::script_detail {

namespace {

constexpr std::string_view PairPattern = "%(%,%);%";

enum TOwnRuleCommand {
    SetNewParticleType,
    SetNewMagnetPoint,
    Mode,
    Gravity,
    Radius,
    LoadTexture,
    TextureProperties,
    BlendFactor,
    MPosition,
    Continiuous,
    Fading,
};

/// GL blend factors pass through the float scratch values; wrap like a 32-bit integer would.
GLenum ToBlendFactor(float value) {
    return GLenum(std::uint32_t(TruncToInt32(value)));
}

bool RequireParticleType(TLoadState& state) {
    if (state.CurrentType != -1) return true;
    ReportLineError(state, "): No particle type has been set yet.");
    return false;
}

bool RequireMagnet(TLoadState& state) {
    if (state.CurrentMagnet != -1) return true;
    ReportLineError(state, "): No magnet point has been set yet.");
    return false;
}

/// Integer argument into a scratch value; a failure is reported and leaves the value as it was.
void ConvertIntegerInto(TLoadState& state, const std::string& text, float& scratch) {
    if (const std::optional<std::int32_t> value = ConvertInteger(text)) {
        scratch = float(*value);
    } else {
        ReportBadValue(state, text, TValueKind::Integer);
    }
}

void ConvertFloatInto(TLoadState& state, const std::string& slotText, float& scratch) {
    const std::string text = ReplaceDotsByCommas(slotText);
    if (const std::optional<float> value = ConvertFloat(text)) {
        scratch = *value;
    } else {
        ReportBadValue(state, text, TValueKind::Float);
    }
}

void RunSetNewParticleType(TLoadState& state) {
    TParticleScript& script = state.Script;
    script.Containers.emplace_back();
    state.CurrentType = std::int32_t(script.Containers.size() - 1);
    const std::size_t count = script.Containers.size();
    script.Values.resize(count);
    script.Ranges.resize(count);
    script.Vectors.resize(count);
    script.VectorRanges.resize(count);
    state.Report.TilesSet.resize(count, false);
    state.Report.TilesSet[count - 1] = false;
    SetBlendFactor(script.Containers.back(), GL_SRC_ALPHA, GL_ONE);
}

void RunSetNewMagnetPoint(TLoadState& state) {
    for (TParticleEffectContainer& container : state.Script.Containers) {
        const std::int32_t id = AddMagnetPoint(container, TVector3{}, 0.0f, 0.0f);
        SetMagnetMode(container, 1, id);
        state.CurrentMagnet = id;
    }
}

void RunMode(TLoadState& state) {
    if (!RequireMagnet(state)) return;
    for (TParticleEffectContainer& container : state.Script.Containers) {
        if (const std::optional<std::int32_t> mode = ConvertInteger(state.Slots[1])) {
            SetMagnetMode(container, *mode, state.CurrentMagnet);
        } else {
            ReportBadValue(state, state.Slots[1], TValueKind::Integer);
        }
    }
}

/// "gravity" and "radius": one conversion (and one report on failure) per container.
void RunMagnetValue(TLoadState& state, void (*apply)(TParticleEffectContainer&, std::int32_t, float)) {
    if (!RequireMagnet(state)) return;
    const std::string text = ReplaceDotsByCommas(state.Slots[1]);
    for (TParticleEffectContainer& container : state.Script.Containers) {
        if (const std::optional<float> value = ConvertFloat(text)) {
            apply(container, state.CurrentMagnet, *value);
        } else {
            ReportBadValue(state, text, TValueKind::Float);
        }
    }
}

void RunLoadTexture(TLoadState& state, const std::string& text) {
    if (CountBeforeFirstSemicolon(text, '\'') != 2) {
        ReportLineError(state, "): Given parameter is not a valid string.");
        return;
    }
    MatchPattern(text, state.Slots, "%('%');%");
    const std::string fileName = state.Slots[1];
    state.Report.TextureFiles.push_back(fileName);
    if (LoadTextureFile(fileName, state.Script.Texture)) {
        state.Report.TextureLoaded = true;
    } else {
        ReportLineError(state, "): File not found: \"" + fileName + "\" - skipping command.");
    }
}

/// Returns the rest-of-line slot: 3 once the pair pattern was applied, else 2.
int RunTextureProperties(TLoadState& state, const std::string& text) {
    if (!RequireParticleType(state)) return 2;
    const auto type = std::size_t(state.CurrentType);
    if (!state.Report.TextureLoaded) {
        state.Report.TilesSet[type] = false;
        ReportLineError(state, "): No texture has been loaded yet - skipping command");
        return 2;
    }
    MatchPattern(text, state.Slots, PairPattern);
    state.Report.TilesSet[type] = true;
    ConvertIntegerInto(state, state.Slots[1], state.U);
    ConvertIntegerInto(state, state.Slots[2], state.V);
    const std::int32_t rows = TruncToInt32(state.U);
    const std::int32_t columns = TruncToInt32(state.V);
    if (rows == 0 || columns == 0) {
        state.Report.TilesSet[type] = false;
        ReportLineError(state, "): Parameters of TextureProperties mustn't be 0 - skipping command.");
        return 3;
    }
    // Negative sides or a huge product would size the tile table from the file; refuse them.
    if (rows < 0 || columns < 0 || std::int64_t(rows) * columns > MaxScriptTextureTiles) {
        state.Report.TilesSet[type] = false;
        ReportLineError(state, "): Parameters of TextureProperties must be positive and give at most " +
                                   std::to_string(MaxScriptTextureTiles) + " tiles - skipping command.");
        return 3;
    }
    SetTextureProperties(state.Script.Containers[type], state.Script.Texture, rows, columns);
    return 3;
}

int RunBlendFactor(TLoadState& state, const std::string& text) {
    if (!RequireParticleType(state)) return 2;
    MatchPattern(text, state.Slots, PairPattern);
    ConvertIntegerInto(state, state.Slots[1], state.U);
    ConvertIntegerInto(state, state.Slots[2], state.V);
    SetBlendFactor(state.Script.Containers[std::size_t(state.CurrentType)], ToBlendFactor(state.U),
                   ToBlendFactor(state.V));
    return 3;
}

int RunMPosition(TLoadState& state, const std::string& text) {
    if (!RequireMagnet(state)) return 2;
    MatchPattern(text, state.Slots, "%(%,%,%);%");
    ConvertFloatInto(state, state.Slots[1], state.U);
    ConvertFloatInto(state, state.Slots[2], state.V);
    ConvertFloatInto(state, state.Slots[3], state.W);
    for (TParticleEffectContainer& container : state.Script.Containers) {
        SetMagnetPosition(container, TVector3{state.U, state.V, state.W}, state.CurrentMagnet);
    }
    return 4;
}

void RunContiniuous(TLoadState& state) {
    if (const std::optional<bool> value = ConvertBoolean(state.Slots[1])) {
        state.Script.Continuous = *value;
    } else {
        ReportBadValue(state, state.Slots[1], TValueKind::Boolean);
    }
}

void RunFading(TLoadState& state, const std::string& text) {
    MatchPattern(text, state.Slots, PairPattern);
    const std::optional<bool> fadeOut = ConvertBoolean(state.Slots[1]);
    if (!fadeOut) {
        ReportBadValue(state, state.Slots[1], TValueKind::Boolean);
        return;
    }
    state.Script.FadeOut = *fadeOut;
    const std::optional<bool> fadeIn = ConvertBoolean(state.Slots[2]);
    if (!fadeIn) {
        ReportBadValue(state, state.Slots[2], TValueKind::Boolean);
        return;
    }
    state.Script.FadeIn = *fadeIn;
}

} // namespace

int RunOwnRuleCommand(TLoadState& state, int index, const std::string& text) {
    switch (index) {
    case SetNewParticleType:
        RunSetNewParticleType(state);
        return 2;
    case SetNewMagnetPoint:
        RunSetNewMagnetPoint(state);
        return 2;
    case Mode:
        RunMode(state);
        return 2;
    case Gravity:
        RunMagnetValue(state, SetMagnetGravity);
        return 2;
    case Radius:
        RunMagnetValue(state, SetMagnetRadius);
        return 2;
    case LoadTexture:
        RunLoadTexture(state, text);
        return 2;
    case TextureProperties:
        return RunTextureProperties(state, text);
    case BlendFactor:
        return RunBlendFactor(state, text);
    case MPosition:
        return RunMPosition(state, text);
    case Continiuous:
        RunContiniuous(state);
        return 2;
    case Fading:
        RunFading(state, text);
        return 3;
    default:
        return 2;
    }
}

} // namespace lumidor::script_detail
