// The position record: any text splits without fault and is read exactly as its items say; every placement
// written is read back to the same left and top edges.
#include "common/IntConv.h"
#include "monitor/MainUnit/PositionRecord.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view record(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> items = qn::SplitPositionRecord(record);
    QN_FUZZ_CHECK(items.size() <= record.size() + 1);
    const auto position = qn::ReadPositionRecord(record);
    if (items.size() == 8 && qn::StrToInt32(items[4])) {
        QN_FUZZ_CHECK(position && position->left == *qn::StrToInt32(items[4]));
        QN_FUZZ_CHECK(position->top == qn::StrToInt32(items[5]));
    } else {
        QN_FUZZ_CHECK(!position);
    }

    if (size >= 32) {
        std::int32_t fields[8];
        std::memcpy(fields, data, sizeof fields);
        const qn::WindowPlacement placement{
            {fields[0], fields[1]}, {fields[2], fields[3]}, {fields[4], fields[5], fields[6], fields[7]}};
        const std::string written = qn::FormatPositionRecord(placement);
        const std::vector<std::string> back = qn::SplitPositionRecord(written);
        QN_FUZZ_CHECK(back.size() == 8);
        for (std::size_t i = 0; i < 8; ++i) {
            QN_FUZZ_CHECK(back[i] == std::to_string(fields[i]));
        }
        const auto read = qn::ReadPositionRecord(written);
        QN_FUZZ_CHECK(read && read->left == fields[4] && read->top == fields[5]);
    }
    return 0;
}
