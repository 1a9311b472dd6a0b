#pragma once
// Raw columns of normalised offsets, found by walking the raw line forward: the loader asks for the
// column of each problem of a line in the order of the line, so all of them cost one pass and no
// table. RawColumn and RawColumns (script_diagnostics.h) are built on it. Not part of the public
// interface.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumidor::script_detail {

class TRawColumnWalk {
  public:
    /// `raw` must outlive the walk.
    explicit TRawColumnWalk(std::string_view raw);

    /// RawColumn(raw, normalizedOffset). Cheapest when offsets come in increasing order; a smaller
    /// one than the last starts the walk again.
    std::int32_t Column(std::size_t normalizedOffset);
    /// Length of the normalised line (NormalizeLine keeps the characters, it only moves and drops them).
    std::size_t NormalizedSize() const;

  private:
    /// NormalizeLine keeps this raw character (the quote moved to the front aside).
    bool Kept(std::size_t index) const;
    /// Raw index of the kept character `rank` (0-based) in normalised order, or raw.size() past them.
    std::size_t KeptOrigin(std::size_t rank);

    std::string_view raw;
    std::size_t firstQuote;   ///< npos without a quote
    std::size_t closingQuote; ///< npos without a second quote
    bool movedQuote;          ///< a single quote: NormalizeLine puts it at the front
    std::size_t scan = 0;     ///< next raw index to look at
    std::size_t kept = 0;     ///< kept characters before `scan`
    std::size_t lastKept = 0; ///< raw index of the last of them
};

} // namespace lumidor::script_detail
