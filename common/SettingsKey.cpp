#include "common/SettingsKey.h"

#include "common/RegistryValues.h"

#include <bit>
#include <cmath>
#include <type_traits>
#include <vector>

namespace qn {
namespace {

// The bytes a field of each kind takes in a record.
template <typename T>
constexpr std::size_t kFieldBytes = sizeof(T);

// The fields of a record, read one after another, each as its description says: nothing where the stored
// number is not one of the field's values.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    template <typename T>
    std::optional<T> Next(const Setting<T>& field) {
        std::uint64_t bits = 0;
        for (std::size_t i = kFieldBytes<T>; i-- > 0;) {
            bits = bits << 8 | m_bytes[m_at + i];
        }
        m_at += kFieldBytes<T>;
        T value{};
        if constexpr (std::is_same_v<T, double>) {
            value = std::bit_cast<double>(bits);
            if (!std::isfinite(value)) {
                return std::nullopt;
            }
        } else {
            value = static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
        }
        return field.InRange(value) ? std::optional<T>(value) : std::nullopt;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

template <typename T>
void AppendField(std::vector<std::uint8_t>& bytes, T value) {
    std::uint64_t bits = 0;
    if constexpr (std::is_same_v<T, double>) {
        bits = std::bit_cast<std::uint64_t>(value);
    } else {
        bits = static_cast<std::make_unsigned_t<T>>(value);
    }
    for (std::size_t i = 0; i < kFieldBytes<T>; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
}

namespace field = setting::last_reservation;
constexpr std::size_t kRecordBytes = kFieldBytes<DateTime> + kFieldBytes<std::int32_t> + 3 * kFieldBytes<double>;

} // namespace

std::int32_t ReadSetting(RegistryKey& key, const IntSetting& setting) {
    return ReadDword(key, setting.name).value_or(setting.defaultValue);
}

bool ReadSetting(RegistryKey& key, const SwitchSetting& setting) {
    const auto value = ReadDword(key, setting.name);
    return value ? *value != 0 : setting.defaultValue;
}

double ReadSetting(RegistryKey& key, const FloatSetting& setting) {
    return ReadFloat64(key, setting.name).value_or(setting.defaultValue);
}

std::string ReadSetting(RegistryKey& key, const TextSetting& setting) {
    return ReadText(key, setting.name).value_or(std::string(setting.defaultValue));
}

std::optional<ReservationRecord> ReadSetting(RegistryKey& key, const ReservationRecordSetting& setting) {
    // A longer record is one of a later version that appended fields; its start is this version's record.
    const auto bytes = ReadBinaryStart(key, setting.name, kRecordBytes);
    if (!bytes) {
        return std::nullopt;
    }
    FieldReader fields(*bytes);
    const auto ended = fields.Next(field::kEnded);
    const auto size = fields.Next(field::kSize);
    const auto freeBefore = fields.Next(field::kFreeBefore);
    const auto freeAfter = fields.Next(field::kFreeAfter);
    const auto seconds = fields.Next(field::kSeconds);
    if (!ended || !size || !freeBefore || !freeAfter || !seconds) {
        return std::nullopt;
    }
    return ReservationRecord{*ended, *size, *freeBefore, *freeAfter, *seconds};
}

bool WriteSetting(RegistryKey& key, const IntSetting& setting, std::int32_t value) {
    return WriteDword(key, setting.name, value);
}

bool WriteSetting(RegistryKey& key, const SwitchSetting& setting, bool value) {
    return WriteDword(key, setting.name, value ? 1 : 0);
}

bool WriteSetting(RegistryKey& key, const FloatSetting& setting, double value) {
    return WriteFloat64(key, setting.name, value);
}

bool WriteSetting(RegistryKey& key, const TextSetting& setting, std::string_view value) {
    return WriteText(key, setting.name, value);
}

bool WriteSetting(RegistryKey& key, const ReservationRecordSetting& setting, const ReservationRecord& value) {
    std::vector<std::uint8_t> bytes;
    AppendField(bytes, value.ended);
    AppendField(bytes, value.sizeMB);
    AppendField(bytes, value.freeBeforeMB);
    AppendField(bytes, value.freeAfterMB);
    AppendField(bytes, value.seconds);
    return WriteBinary(key, setting.name, bytes);
}

DateTime ReadHandoverNote(RegistryKey& currentUser) {
    const auto key = currentUser.OpenSubkeyFor(kSettingsKeyPath, ValueAccess::Query).key;
    return key ? ReadSetting(*key, setting::kHandoverTime) : setting::kHandoverTime.defaultValue;
}

bool HandoverIsFresh(DateTime handedOver, DateTime now) {
    constexpr DateTime kFreshDays = kLongestMonitorEndingMs / (1000.0 * 86400.0);
    return handedOver != 0.0 && handedOver <= now && now - handedOver <= kFreshDays;
}

} // namespace qn
