#include "app/debug/frame_statistics.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lumidor {

namespace {

void AppendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    out += text;
}

// The shortest text that reads back as the same float (0.0333, not 0.0333000004).
void AppendFloat(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
#if defined(__EMSCRIPTEN__)
    // This libc++ has no floating-point to_chars: the fewest %g digits that read back exactly.
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    out += text;
#else
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
#endif
}

void AppendString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

std::int64_t TotalParticles(const TFrameStats& frame) {
    std::int64_t total = 0;
    for (const TSystemFrameStats& system : frame.Systems)
        total += system.Live;
    return total;
}

double ParticlesPerSecond(const TFrameStats& frame) {
    if (!(frame.FrameMs > 0.0)) return 0.0;
    std::int64_t swept = 0;
    for (const TSystemFrameStats& system : frame.Systems)
        swept += system.Swept;
    return double(swept) * 1000.0 / frame.FrameMs;
}

std::string FrameStatsJson(const TFrameStats& frame) {
    std::string out = "{\"frame\":" + std::to_string(frame.Frame) + ",\"dt\":";
    AppendFloat(out, frame.Dt);
    out += ",\"slot\":" + std::to_string(frame.Slot);
    out += ",\"particles\":" + std::to_string(TotalParticles(frame));
    out += ",\"systems\":[";
    for (std::size_t i = 0; i < frame.Systems.size(); ++i) {
        const TSystemFrameStats& system = frame.Systems[i];
        if (i > 0) out += ',';
        out += "{\"name\":";
        AppendString(out, system.Name);
        out += ",\"live\":" + std::to_string(system.Live) + ",\"pass_ms\":";
        AppendNumber(out, system.PassMs);
        out += '}';
    }
    out += "],\"engine_ms\":";
    AppendNumber(out, frame.EngineMs);
    out += ",\"frame_ms\":";
    AppendNumber(out, frame.FrameMs);
    out += '}';
    return out;
}

void AddToHistory(TFrameHistory& history, const TFrameStats& frame) {
    if (history.FrameMs.size() < std::size_t(TFrameHistory::Capacity)) {
        history.FrameMs.push_back(float(frame.FrameMs));
        history.EngineMs.push_back(float(frame.EngineMs));
    } else {
        history.FrameMs[std::size_t(history.Next)] = float(frame.FrameMs);
        history.EngineMs[std::size_t(history.Next)] = float(frame.EngineMs);
    }
    history.Next = (history.Next + 1) % TFrameHistory::Capacity;
}

std::vector<float> InTimeOrder(const TFrameHistory& history, const std::vector<float>& ring) {
    if (ring.size() < std::size_t(TFrameHistory::Capacity)) return ring;
    std::vector<float> ordered(ring.begin() + history.Next, ring.end());
    ordered.insert(ordered.end(), ring.begin(), ring.begin() + history.Next);
    return ordered;
}

} // namespace lumidor
