#include "tests/support/TestRegistry.h"

#include "common/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

namespace qn::e2e {

double NowAsDateTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return EncodeDateTime(LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

std::optional<ReservationRecord> GetReservationRecord() {
    const auto value = GetRaw(L"Last Reservation");
    if (!value || value->type != REG_BINARY || value->data.size() != 36) {
        return std::nullopt;
    }
    const std::uint8_t* bytes = value->data.data();
    ReservationRecord record;
    std::memcpy(&record.ended, bytes, 8);
    std::memcpy(&record.sizeMB, bytes + 8, 4);
    std::memcpy(&record.freeBeforeMB, bytes + 12, 8);
    std::memcpy(&record.freeAfterMB, bytes + 20, 8);
    std::memcpy(&record.seconds, bytes + 28, 8);
    return record;
}

bool ShowsRecord(const std::wstring& text, const ReservationRecord& record) {
    std::wstring figures = text.substr(std::min(text.rfind(L"空き "), text.size()));
    std::erase(figures, L',');
    double before = 0.0, after = 0.0, seconds = 0.0;
    if (std::swscanf(figures.c_str(), L"空き %lfMB → %lfMB（%lf 秒）", &before, &after, &seconds) != 3) {
        return false;
    }
    // Each the stored figure, to half a unit of its last shown place and a little for binary fractions.
    return std::fabs(before - record.freeBeforeMB) <= 0.0051 && std::fabs(after - record.freeAfterMB) <= 0.0051 &&
           std::fabs(seconds - record.seconds) <= 0.051;
}

} // namespace qn::e2e
