#pragma once
#include <string>

namespace qn {

// Message box styles and answers, with the values the system gives them, so that portable code can say
// exactly which box it wants (MessageBoxDialogs.cpp ties each to the system's name).
namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kIconStop = 0x10;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kSystemModal = 0x1000;
inline constexpr unsigned kTaskModal = 0x2000;
} // namespace mb

enum class DialogAnswer { Ok = 1, Cancel = 2, Other = 0 };

// What a program needs of the system to talk to its user: one ownerless message box, and its answer.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    virtual DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) = 0;
};

} // namespace qn
