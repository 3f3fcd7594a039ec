#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};

// The part of a window placement that the position record keeps.
struct WindowPlacement {
    Point minPosition;
    Point maxPosition;
    Rect normalPosition;
};

// "min.x,min.y,max.x,max.y,left,top,right,bottom" in signed decimal, with no blanks.
std::string FormatPositionRecord(const WindowPlacement& placement);

// The items of a stored record: blanks (code 32 or less) and single commas separate them, an item that opens
// with a double quote runs to the next lone one (two standing for one), a comma at the very end adds one empty
// item, and only the first 4095 characters count.
std::vector<std::string> SplitPositionRecord(std::string_view record);

// Where a record puts the window: the left edge when item 5 converts, and the top edge too when item 6 does.
struct RecordedPosition {
    std::int32_t left = 0;
    std::optional<std::int32_t> top;
};
// Nothing when the record has other than eight items or item 5 is no integer.
std::optional<RecordedPosition> ReadPositionRecord(std::string_view record);

// A window's normal rectangle moved to a recorded left and (when given) top, its size kept. A near edge so close
// to the largest coordinate that the far edge would pass it is moved back by the window's extent.
Rect MovedRect(const Rect& current, std::int32_t left, std::optional<std::int32_t> top);

} // namespace qn
