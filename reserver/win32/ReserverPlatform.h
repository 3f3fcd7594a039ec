#pragma once
#include "common/win32/MessageBoxDialogs.h"
#include "common/win32/UniqueHandle.h"
#include "reserver/Reservation.h"

#include <windows.h>

namespace qn::win32 {

// The reservation run's view of Windows.
class ReserverPlatform final : public ReserverPort {
public:
    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override;
    MemoryStatus QueryMemoryStatus() override;
    std::uint64_t HoldLargestBlockMB(std::uint64_t limitMB) override;
    ReserveOutcome ReserveAndRelease(std::uint64_t bytes, bool showProgress) override;
    NumberSeparators Separators() override;
    std::string ProgramFileName() override;
    std::string ProgramPath() override;
    void Open(const std::string& path) override;
    DateTime Now() override;
    std::uint64_t SteadyMilliseconds() override;
    void StoreRecord(const ReservationRecord& record) override;

private:
    MessageBoxDialogs m_dialogs;
    // Address space set aside for the default-sized block, so that the confirmation cannot take it away.
    ReservedRange m_held;
    std::uint64_t m_heldBytes = 0;
};

} // namespace qn::win32
