#pragma once
#include "common/Dialogs.h"
#include "common/MemoryUnits.h"
#include "common/NumberFormat.h"
#include "common/ReservationSize.h"
#include "common/SettingsKey.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qn {

// The options of one reservation run, read from the command line.
struct ReservationOptions {
    std::int32_t sizeMB = 0;  // SizeMB: megabytes to reserve; 0: none given, the default size is used
    bool showMessages = true; // ShowMessages: the confirmation and the result are shown
    std::string execPath;     // ExecPath: program or document opened when the run is done; empty: none
};

// "/M:<number>", "/NOMSG" and "/E:<path>", option letters in either case, taken from first to last; the first
// of the three tests that matches decides, and anything else is ignored.
ReservationOptions ReadReservationOptions(const std::vector<std::string>& arguments);

// How obtaining the block went; where it failed, the code address that reports it.
struct ReserveOutcome {
    bool obtained = false;
    std::uintptr_t failureAddress = 0;
};

// What the reservation run needs of the system.
class ReserverPort : public DialogPort {
public:
    virtual MemoryStatus QueryMemoryStatus() = 0;
    // Sets aside, for the block, the largest range of whole megabytes up to `limitMB` that this process can
    // obtain in one piece, and returns its size (0 when nothing can be had).
    virtual std::uint64_t HoldLargestBlockMB(std::uint64_t limitMB) = 0;
    // Obtains one block of `bytes`, writes zero over every byte of it in effect (the system supplies every page of
    // it, zero) and releases it at once, after all writing.
    // With `showProgress`, a window shows how much is written until the block is released.
    virtual ReserveOutcome ReserveAndRelease(std::uint64_t bytes, bool showProgress) = 0;
    virtual NumberSeparators Separators() = 0;
    // The program's file name without its directory, for the error report.
    virtual std::string ProgramFileName() = 0;
    // The program's full path: the product's other programs stand in its folder.
    virtual std::string ProgramPath() = 0;
    // Opens a program or document; whether that works is not looked at.
    virtual void Open(const std::string& path) = 0;
    // Now, in local time, and a count of milliseconds that only goes forward, for how long the run took.
    virtual DateTime Now() = 0;
    virtual std::uint64_t SteadyMilliseconds() = 0;
    // Stores the record of a run that took a block under the settings key; a refused write is dropped.
    virtual void StoreRecord(const ReservationRecord& record) = 0;
};

// The result report for the available physical memory after the release.
std::string ResultText(std::uint64_t availPhysBytes, const NumberSeparators& separators);

// One whole run; returns the exit code.
int RunReservation(const std::vector<std::string>& arguments, ReserverPort& port);

} // namespace qn
