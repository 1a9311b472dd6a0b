// The keyword row-4 commands of the script loader, each with its own preconditions and pattern:
// particle types, magnet points, texture and atlas, blending, continuous emission and fading.

#include "engine/message.h"
#include "script/script_loader_state.h"
#include "textures/textures.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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

/// The point SetMagnet... would address (the newest holder of `id`), found in constant time when
/// every point's Id is its index, as in containers only the loader has filled.
TMagnetPoint* ScriptMagnet(const TLoadState& state, TParticleEffectContainer& container, std::int32_t id) {
    std::vector<TMagnetPoint>& points = container.MagnetPoints;
    if (state.MagnetIdsAreIndices)
        return id >= 0 && std::size_t(id) < points.size() ? &points[std::size_t(id)] : nullptr;
    for (auto point = points.rbegin(); point != points.rend(); ++point) {
        if (point->Id == id) return &*point;
    }
    return nullptr;
}

/// The magnet commands report a bad value once per particle type.
void ReportBadValueForEveryType(TLoadState& state, std::string_view text, TValueKind kind) {
    const std::size_t types = state.Script.Containers.size();
    for (std::size_t t = 0; t < types; ++t) {
        if (state.LogFull) {
            CountErrors(state, std::int64_t(types - t)); // counted at once: the log takes no more
            return;
        }
        ReportBadValue(state, text, kind);
    }
}

bool RequireMagnet(TLoadState& state) {
    if (state.CurrentMagnet != -1) return true;
    ReportLineError(state, "): No magnet point has been set yet.");
    return false;
}

/// Integer argument into a scratch value; a failure is reported and leaves the value as it was.
void ConvertIntegerInto(TLoadState& state, std::string_view text, float& scratch) {
    if (const std::optional<std::int32_t> value = ConvertInteger(text)) {
        scratch = float(*value);
    } else {
        ReportBadValue(state, text, TValueKind::Integer);
    }
}

void ConvertFloatInto(TLoadState& state, std::string_view slotText, float& scratch) {
    const std::string text = ReplaceDotsByCommas(slotText);
    if (const std::optional<float> value = ConvertFloat(text)) {
        scratch = *value;
    } else {
        ReportBadValue(state, text, TValueKind::Float);
    }
}

void RunSetNewParticleType(TLoadState& state) {
    TParticleScript& script = state.Script;
    if (script.Containers.size() >= std::size_t(MaxScriptParticleTypes)) {
        ReportLineError(state, "): Too many particle types (at most " +
                                   std::to_string(MaxScriptParticleTypes) + ") - skipping command.");
        return;
    }
    script.Containers.emplace_back();
    state.CurrentType = std::int32_t(script.Containers.size() - 1);
    const std::size_t count = script.Containers.size();
    script.Values.resize(count);
    script.Ranges.resize(count);
    script.Vectors.resize(count);
    script.VectorRanges.resize(count);
    script.Emission.resize(count);
    script.Look.resize(count);
    state.Report.TilesSet.resize(count, false);
    state.Report.TilesSet[count - 1] = false;
    state.TypeLines.resize(count, -1);
    state.TypeLines[count - 1] = state.Line;
    SetBlendFactor(script.Containers.back(), GL_SRC_ALPHA, GL_ONE);
    NoteCommand(state, TNotedCommand::SetNewParticleType);
}

void RunSetNewMagnetPoint(TLoadState& state) {
    // Every point goes to every type: the records held by all types together are what is bounded.
    std::size_t held = 0;
    for (const TParticleEffectContainer& container : state.Script.Containers)
        held += container.MagnetPoints.size();
    if (!state.Script.Containers.empty() &&
        held + state.Script.Containers.size() > std::size_t(MaxScriptMagnetRecords)) {
        ReportLineError(state, "): Too many magnet points (at most " +
                                   std::to_string(MaxScriptMagnetRecords) +
                                   " over all particle types) - skipping command.");
        return;
    }
    for (TParticleEffectContainer& container : state.Script.Containers) {
        const std::int32_t id = AddMagnetPoint(container, TVector3{}, 0.0f, 0.0f);
        SetMagnetMode(container, 1, id);
        state.CurrentMagnet = id;
    }
}

void RunMode(TLoadState& state) {
    if (!RequireMagnet(state)) return;
    // One conversion serves every type; a failure is still reported once per type.
    const std::optional<std::int32_t> mode = ConvertInteger(state.Slots[1]);
    if (!mode) {
        ReportBadValueForEveryType(state, state.Slots[1], TValueKind::Integer);
        return;
    }
    for (TParticleEffectContainer& container : state.Script.Containers) {
        if (TMagnetPoint* point = ScriptMagnet(state, container, state.CurrentMagnet)) point->Mode = *mode;
    }
}

/// "gravity" and "radius": one conversion, one report on failure per container.
void RunMagnetValue(TLoadState& state, float TMagnetPoint::*field) {
    if (!RequireMagnet(state)) return;
    const std::string text = ReplaceDotsByCommas(state.Slots[1]);
    const std::optional<float> value = ConvertFloat(text);
    if (!value) {
        ReportBadValueForEveryType(state, text, TValueKind::Float);
        return;
    }
    for (TParticleEffectContainer& container : state.Script.Containers) {
        if (TMagnetPoint* point = ScriptMagnet(state, container, state.CurrentMagnet)) point->*field = *value;
    }
    if (field == &TMagnetPoint::Radius && *value < 0.0f)
        WarnHere(state, "radius(" + BoundText(*value) +
                            ") is below 0: no particle is ever within it, so this magnet point pulls and "
                            "pushes nothing - give a radius above 0.");
}

/// Where a texture name is read from: relative names (either slash) below the root, when there is one.
std::string TexturePath(const std::string& root, const std::string& fileName) {
    if (root.empty() || fileName.starts_with('/') || fileName.starts_with('\\')) return fileName;
    return root.ends_with('/') ? root + fileName : root + '/' + fileName;
}

/// `path` ("\\" read as "/") made absolute; empty when that fails.
std::filesystem::path AbsoluteTexturePath(const std::string& path) {
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(slashed, error).lexically_normal();
    return error ? std::filesystem::path() : absolute;
}

/// Why `path` gave no texture, for the diagnostic (the log keeps its one wording): the folder it
/// was looked for in when missing, else the file that could not be read.
std::string TextureFailureNote(const std::string& path) {
    const std::filesystem::path absolute = AbsoluteTexturePath(path);
    if (absolute.empty()) return {};
    std::error_code error;
    if (!std::filesystem::exists(absolute, error)) {
        std::string folder = absolute.parent_path().string();
        return " (looked for in \"" + (folder.empty() ? "/" : folder) + "\")";
    }
    return " (\"" + absolute.string() + "\" could not be read as a texture)";
}

/// The first message a texture reader shows while KeepReaderMessage is installed, passed on to the
/// handler it replaced (the demo still shows its box).
thread_local std::string* keptReaderMessage = nullptr;
thread_local TMessageHandler replacedHandler = nullptr;

void KeepReaderMessage(const std::string& text, const std::string& caption, TMessageIcon icon) {
    if (keptReaderMessage != nullptr && keptReaderMessage->empty()) *keptReaderMessage = text;
    replacedHandler(text, caption, icon);
}

/// LoadTextureFile that also returns the reader's message, if it showed one, in `message`.
bool LoadTextureKeepingMessage(const std::string& path, GLuint& texture, std::string& message) {
    struct TRestore {
        ~TRestore() {
            SetMessageHandler(replacedHandler);
            keptReaderMessage = nullptr;
        }
    };
    replacedHandler = SetMessageHandler(&KeepReaderMessage);
    keptReaderMessage = &message;
    const TRestore restore;
    return LoadTextureFile(path, texture);
}

/// Plain words for a texture file that is there but gave no texture: the reader's reason, or the
/// kinds of file the readers take when none of them read it.
std::string UnreadableTexturePlain(const std::string& fileName, const std::string& path,
                                   const std::string& readerMessage) {
    const std::filesystem::path absolute = AbsoluteTexturePath(path);
    std::error_code error;
    if (absolute.empty() || !std::filesystem::exists(absolute, error)) return {};
    return "'" + fileName + "' could not be read as a texture (\"" + absolute.string() + "\"): " +
           (readerMessage.empty() ? "textures are .bmp (24-bit), .jpg or .tga (24 or 32-bit) files"
                                  : readerMessage);
}

void RunLoadTexture(TLoadState& state, std::string_view text) {
    state.TextureLine = state.Line;
    if (CountBeforeFirstSemicolon(text, '\'') != 2) {
        const std::size_t diagnostics = state.Report.Diagnostics.size();
        ReportLineError(state, "): Given parameter is not a valid string.");
        if (state.Report.Diagnostics.size() > diagnostics) {
            TScriptDiagnostic& diagnostic = state.Report.Diagnostics.back();
            diagnostic.Plain = PlainNotAString(state.RawLine, diagnostic.Column);
        }
        return;
    }
    MatchPatternViews(text, state.Slots, "%('%');%");
    const std::string fileName(state.Slots[1]);
    const std::string path = TexturePath(state.TextureRoot, fileName);
    state.Report.TextureFiles.push_back(path);
    std::string readerMessage;
    if (LoadTextureKeepingMessage(path, state.Script.Texture, readerMessage)) {
        state.Report.TextureLoaded = true;
        return;
    }
    const std::size_t diagnostics = state.Report.Diagnostics.size();
    ReportLineError(state, "): File not found: \"" + fileName + "\" - skipping command.");
    if (state.Report.Diagnostics.size() > diagnostics) {
        TScriptDiagnostic& diagnostic = state.Report.Diagnostics.back();
        diagnostic.Message += TextureFailureNote(path);
        diagnostic.Plain = UnreadableTexturePlain(fileName, path, readerMessage);
    }
}

/// Returns the rest-of-line slot: 3 once the pair pattern was applied, else 2.
int RunTextureProperties(TLoadState& state, std::string_view text) {
    if (!RequireParticleType(state)) return 2;
    const auto type = std::size_t(state.CurrentType);
    // Refused or not, the command was written: a refusal is the error that speaks of the atlas.
    NoteCommand(state, TNotedCommand::TextureProperties);
    if (!state.Report.TextureLoaded) {
        state.Report.TilesSet[type] = false;
        ReportLineError(state, "): No texture has been loaded yet - skipping command");
        return 2;
    }
    MatchPatternViews(text, state.Slots, PairPattern);
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
    RecheckFlipbook(state, type);
    return 3;
}

int RunBlendFactor(TLoadState& state, std::string_view text) {
    if (!RequireParticleType(state)) return 2;
    MatchPatternViews(text, state.Slots, PairPattern);
    const std::int32_t errors = state.Report.ErrorCount;
    ConvertIntegerInto(state, state.Slots[1], state.U);
    ConvertIntegerInto(state, state.Slots[2], state.V);
    SetBlendFactor(state.Script.Containers[std::size_t(state.CurrentType)], ToBlendFactor(state.U),
                   ToBlendFactor(state.V));
    NoteCommand(state, TNotedCommand::BlendFactor, state.Report.ErrorCount == errors);
    return 3;
}

int RunMPosition(TLoadState& state, std::string_view text) {
    if (!RequireMagnet(state)) return 2;
    MatchPatternViews(text, state.Slots, "%(%,%,%);%");
    ConvertFloatInto(state, state.Slots[1], state.U);
    ConvertFloatInto(state, state.Slots[2], state.V);
    ConvertFloatInto(state, state.Slots[3], state.W);
    for (TParticleEffectContainer& container : state.Script.Containers) {
        if (TMagnetPoint* point = ScriptMagnet(state, container, state.CurrentMagnet))
            point->Position = TVector3{state.U, state.V, state.W};
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

void RunFading(TLoadState& state, std::string_view text) {
    MatchPatternViews(text, state.Slots, PairPattern);
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

int RunOwnRuleCommand(TLoadState& state, int index, std::string_view text) {
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
        RunMagnetValue(state, &TMagnetPoint::Gravity);
        return 2;
    case Radius:
        RunMagnetValue(state, &TMagnetPoint::Radius);
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
