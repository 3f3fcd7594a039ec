#include "reserver/Reservation.h"

#include "common/ApplicationError.h"
#include "common/IntConv.h"
#include "common/PathUtil.h"
#include "common/Texts.h"
#include "reserver/ReserverTexts.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

namespace qn {
namespace {

std::string UpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

bool HasOption(std::string_view argument, std::string_view option) {
    return argument.size() >= option.size() && UpperAscii(argument.substr(0, option.size())) == option;
}

} // namespace

ReservationOptions ReadReservationOptions(const std::vector<std::string>& arguments) {
    ReservationOptions options;
    for (const std::string& argument : arguments) {
        if (HasOption(argument, "/M:")) {
            options.sizeMB = StrToInt32(std::string_view(argument).substr(3)).value_or(0);
        } else if (UpperAscii(argument) == "/NOMSG") {
            options.showMessages = false;
        } else if (HasOption(argument, "/E:")) {
            options.execPath = argument.substr(3);
        }
    }
    return options;
}

std::string ResultText(std::uint64_t availPhysBytes, const NumberSeparators& separators) {
    std::string text = FormatNumberPattern(ReserverTexts().resultPattern, BytesToMegabytes(availPhysBytes), separators);
    text += ReserverTexts().resultClosing;
    text += kCopyright;
    return text;
}

int RunReservation(const std::vector<std::string>& arguments, ReserverPort& port) {
    ReservationOptions options = ReadReservationOptions(arguments);
    const NumberSeparators separators = port.Separators();
    const bool defaultSize = options.sizeMB == 0;
    std::uint64_t obtainableMB = 0;
    if (defaultSize) {
        const MemoryStatus status = port.QueryMemoryStatus();
        obtainableMB = port.HoldLargestBlockMB(WantedDefaultSizeMB(status));
        options.sizeMB = DefaultSizeMB(status, obtainableMB);
    }
    const std::string title(kTitleVersioned);
    if (options.showMessages) {
        const ReserverTextSet& texts = ReserverTexts();
        const std::string question = std::string(texts.confirmationBeforeSize) + std::to_string(options.sizeMB) +
                                     std::string(texts.confirmationAfterSize);
        if (port.ShowMessage(question, title, mb::kOkCancel | mb::kIconInformation | mb::kSystemModal) ==
            DialogAnswer::Cancel) {
            return 0;
        }
        // The box may have stood open for minutes while other programs took memory: the commit left to them is
        // measured again, and the smaller size taken. The address space held for the block stays held.
        if (defaultSize) {
            options.sizeMB = std::min(options.sizeMB, DefaultSizeMB(port.QueryMemoryStatus(), obtainableMB));
        }
    }
    // The free memory after the release, once measured, is the figure of both the record and the result.
    std::optional<std::uint64_t> freeAfter;
    if (options.sizeMB > 0) {
        const std::uint64_t freeBefore = port.QueryMemoryStatus().availPhys;
        const std::uint64_t started = port.SteadyMilliseconds();
        const ReserveOutcome outcome =
            port.ReserveAndRelease(static_cast<std::uint64_t>(options.sizeMB) * kMegabyte, options.showMessages);
        if (!outcome.obtained) {
            // The monitor that handed over comes back at once, not only once the box is answered: after a
            // hand-over nobody may be there to answer it, and the user would be left without a monitor. Another
            // program named with /E: is opened only after a run that worked, as ever.
            if (!options.execPath.empty() && IsProductProgram(options.execPath, port.ProgramPath())) {
                port.Open(options.execPath);
            }
            port.ShowMessage(FormatApplicationError(kOutOfMemoryClass, port.ProgramFileName(), outcome.failureAddress,
                                                    SharedTexts().outOfMemory),
                             std::string(SharedTexts().applicationErrorTitle),
                             mb::kOk | mb::kIconStop | mb::kTaskModal);
            return 1;
        }
        const double seconds = static_cast<double>(port.SteadyMilliseconds() - started) / 1000.0;
        freeAfter = port.QueryMemoryStatus().availPhys;
        port.StoreRecord(ReservationRecord{port.Now(), options.sizeMB, BytesToMegabytes(freeBefore),
                                           BytesToMegabytes(*freeAfter), seconds});
    }
    if (options.showMessages) {
        port.ShowMessage(ResultText(freeAfter ? *freeAfter : port.QueryMemoryStatus().availPhys, separators), title,
                         mb::kOk | mb::kIconInformation | mb::kSystemModal);
    }
    if (!options.execPath.empty()) {
        port.Open(options.execPath);
    }
    return 0;
}

} // namespace qn
