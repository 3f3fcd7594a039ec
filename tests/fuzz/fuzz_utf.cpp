// The text conversions at the registry boundary: any bytes read as UTF-16 string data give well-formed UTF-8,
// any text written gives UTF-16 without an unpaired surrogate, and well-formed input survives the round trip.
#include "common/RegistryValues.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The UTF-16 code units of string data up to its terminating NUL, and whether every surrogate is paired.
bool HasOnlyPairedSurrogates(std::span<const std::uint8_t> data) {
    const std::size_t units = data.size() / 2;
    const auto unitAt = [&](std::size_t i) -> unsigned { return data[2 * i] | data[2 * i + 1] << 8; };
    for (std::size_t i = 0; i < units && unitAt(i) != 0; ++i) {
        const unsigned unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (i + 1 >= units || unitAt(i + 1) < 0xDC00 || unitAt(i + 1) >= 0xE000) {
                return false;
            }
            ++i;
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The bytes as UTF-8 text to be written.
    const std::vector<std::uint8_t> written = qn::StringDataOf(bytes);
    QN_FUZZ_CHECK(written.size() % 2 == 0 && written.size() >= 2);
    QN_FUZZ_CHECK(written[written.size() - 2] == 0 && written.back() == 0);
    QN_FUZZ_CHECK(HasOnlyPairedSurrogates(written));
    const std::string readBack = qn::TextOfStringData(written);
    QN_FUZZ_CHECK(qn::fuzz::IsValidUtf8(readBack));
    if (qn::fuzz::IsValidUtf8(bytes) && bytes.find('\0') == std::string_view::npos) {
        QN_FUZZ_CHECK(readBack == bytes);
    }

    // The bytes as UTF-16LE string data that was read.
    const std::span<const std::uint8_t> stored(data, size);
    const std::string text = qn::TextOfStringData(stored);
    QN_FUZZ_CHECK(qn::fuzz::IsValidUtf8(text));
    if (HasOnlyPairedSurrogates(stored)) {
        // Up to the first NUL, or the whole of the whole units: the same units come back, NUL-terminated.
        std::vector<std::uint8_t> expected;
        for (std::size_t i = 0; i + 1 < size && (data[i] != 0 || data[i + 1] != 0); i += 2) {
            expected.insert(expected.end(), {data[i], data[i + 1]});
        }
        expected.insert(expected.end(), {0, 0});
        QN_FUZZ_CHECK(qn::StringDataOf(text) == expected);
    }
    return 0;
}
