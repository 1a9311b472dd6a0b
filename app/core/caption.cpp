#include "app/core/caption.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <langinfo.h>
#include <locale.h>

namespace lumidor {

std::string FormatFramesPerSecond(float framesPerSecond, std::string_view decimalSeparator) {
    // Two frames within one tick of the millisecond fallback give an infinite rate.
    if (std::isnan(framesPerSecond)) return "NaN";
    if (std::isinf(framesPerSecond)) return framesPerSecond > 0 ? "Infinity" : "-Infinity";
    char digits[32];
#if defined(__EMSCRIPTEN__)
    // This libc++ has no floating-point to_chars; a page always runs in the "C" locale.
    std::snprintf(digits, sizeof digits, "%.15g", static_cast<double>(framesPerSecond));
    std::string text(digits);
#else
    // to_chars writes as printf's %.15g does in the "C" locale, whatever locale the process is in.
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<double>(framesPerSecond),
                                       std::chars_format::general, 15);
    std::string text(digits, written.ptr);
#endif
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
    return text;
}

std::string UserDecimalSeparator() {
    // A locale object of its own: the process-wide C locale, which script values and JSON rely on,
    // stays as it is.
    const locale_t user = newlocale(LC_NUMERIC_MASK, "", locale_t(0));
    if (user == locale_t(0)) return "."; // the named locale is not installed
    std::string separator = nl_langinfo_l(RADIXCHAR, user);
    freelocale(user);
    return separator.empty() ? "." : separator;
}

std::string CaptionText(float framesPerSecond, std::string_view decimalSeparator) {
    return "Lumidor Particle Engine demonstration - " +
           FormatFramesPerSecond(framesPerSecond, decimalSeparator) + " FPS";
}

std::string CaptionText(float framesPerSecond) {
    static const std::string separator = UserDecimalSeparator(); // the environment is read once per run
    return CaptionText(framesPerSecond, separator);
}

std::string CaptionWithStatus(const std::string& caption, const std::string& status) {
    return status.empty() ? caption : caption + " - " + status;
}

std::string JoinCaptionStatus(const std::string& effectName, const std::string& work) {
    if (effectName.empty()) return work;
    return work.empty() ? effectName : effectName + " - " + work;
}

} // namespace lumidor
