// The command-line splitter and the reservation tool's option reader: any command line splits into arguments
// that carry no quote and no separator outside what was quoted, quoting each argument again gives the same
// arguments back, and the options come from the arguments as written.
#include "common/CommandLine.h"
#include "common/IntConv.h"
#include "reserver/Reservation.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string Upper3(std::string_view argument) {
    std::string prefix(argument.substr(0, 3));
    for (char& c : prefix) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return prefix;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> arguments = qn::SplitArguments(line);

    std::string quoted = "prog.exe";
    for (const std::string& argument : arguments) {
        QN_FUZZ_CHECK(!argument.empty());
        QN_FUZZ_CHECK(argument.find('"') == std::string::npos);
        QN_FUZZ_CHECK(argument.find('\0') == std::string::npos);
        quoted += " \"" + argument + "\"";
    }
    QN_FUZZ_CHECK(qn::SplitArguments(quoted) == arguments);

    const qn::ReservationOptions options = qn::ReadReservationOptions(arguments);
    // The last "/M:" and "/E:" arguments decide; "/NOMSG" anywhere switches the dialogs off.
    std::int32_t sizeMB = 0;
    std::string exec;
    bool messages = true;
    for (const std::string& argument : arguments) {
        const std::string prefix = Upper3(argument);
        if (prefix == "/M:") {
            sizeMB = qn::StrToInt32(std::string_view(argument).substr(3)).value_or(0);
        } else if (prefix == "/E:") {
            exec = argument.substr(3);
        } else if (argument.size() == 6 && Upper3(argument) == "/NO" && Upper3(argument.substr(3)) == "MSG") {
            messages = false;
        }
    }
    QN_FUZZ_CHECK(options.sizeMB == sizeMB);
    QN_FUZZ_CHECK(options.execPath == exec);
    QN_FUZZ_CHECK(options.showMessages == messages);
    return 0;
}
