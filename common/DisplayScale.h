#pragma once
#include <cstdint>

namespace qn {

// The logical resolution that the programs' design sizes are given in: 100 % display scale.
inline constexpr unsigned kDesignDpi = 96;

// A design size in 96-DPI units at `dpi`, rounded to the nearest pixel with halves away from zero, as the
// system rounds its own scaled metrics (MulDiv).
constexpr int ScaleForDpi(int designValue, unsigned dpi) {
    const std::int64_t product = std::int64_t{designValue} * dpi;
    const std::int64_t half = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : (product - half) / kDesignDpi);
}

} // namespace qn
