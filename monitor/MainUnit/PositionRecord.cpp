#include "monitor/MainUnit/PositionRecord.h"

#include "common/IntConv.h"
#include "common/Unicode.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <tuple>
#include <utility>

namespace qn {
namespace {

constexpr std::size_t kMaxRecordCharacters = 4095;

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// The first `count` characters of UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t characters = 0; characters < count && i < text.size(); ++characters) {
        i += DecodeUtf8(text.substr(i)).length;
    }
    return text.substr(0, i);
}

// The near edge of an extent placed at `edge`, and the far edge after it.
std::pair<std::int32_t, std::int32_t> Span(std::int32_t edge, std::int64_t extent) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    extent = std::clamp<std::int64_t>(extent, 0, kMax);
    const std::int64_t nearEdge = std::min<std::int64_t>(edge, kMax - extent);
    return {static_cast<std::int32_t>(nearEdge), static_cast<std::int32_t>(nearEdge + extent)};
}

} // namespace

std::string FormatPositionRecord(const WindowPlacement& p) {
    char text[8 * 12 + 1] = {};
    std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d,%d,%d,%d", static_cast<int>(p.minPosition.x),
                  static_cast<int>(p.minPosition.y), static_cast<int>(p.maxPosition.x),
                  static_cast<int>(p.maxPosition.y), static_cast<int>(p.normalPosition.left),
                  static_cast<int>(p.normalPosition.top), static_cast<int>(p.normalPosition.right),
                  static_cast<int>(p.normalPosition.bottom));
    return text;
}

std::vector<std::string> SplitPositionRecord(std::string_view record) {
    const std::string_view text = FirstCharacters(record, kMaxRecordCharacters);
    std::vector<std::string> items;
    std::size_t p = 0;
    const auto skipBlanks = [&] {
        while (p < text.size() && IsBlank(text[p])) {
            ++p;
        }
    };
    skipBlanks();
    while (p < text.size()) {
        std::string item;
        if (text[p] == '"') {
            for (++p; p < text.size(); ++p) {
                if (text[p] == '"') {
                    if (p + 1 < text.size() && text[p + 1] == '"') {
                        ++p;
                    } else {
                        ++p;
                        break;
                    }
                }
                item += text[p];
            }
        } else {
            const std::size_t start = p;
            while (p < text.size() && !IsBlank(text[p]) && text[p] != ',') {
                ++p;
            }
            item = text.substr(start, p - start);
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < text.size() && text[p] == ',') {
            if (++p == text.size()) {
                items.emplace_back();
            }
            skipBlanks();
        }
    }
    return items;
}

std::optional<RecordedPosition> ReadPositionRecord(std::string_view record) {
    const std::vector<std::string> items = SplitPositionRecord(record);
    if (items.size() != 8) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> left = StrToInt32(items[4]);
    if (!left) {
        return std::nullopt;
    }
    return RecordedPosition{*left, StrToInt32(items[5])};
}

Rect MovedRect(const Rect& current, std::int32_t left, std::optional<std::int32_t> top) {
    Rect moved = current;
    std::tie(moved.left, moved.right) = Span(left, std::int64_t{current.right} - current.left);
    if (top) {
        std::tie(moved.top, moved.bottom) = Span(*top, std::int64_t{current.bottom} - current.top);
    }
    return moved;
}

} // namespace qn
