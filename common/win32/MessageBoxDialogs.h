#pragma once
#include "common/Dialogs.h"

#include <string>

namespace qn::win32 {

// Ownerless message boxes through MessageBoxW.
class MessageBoxDialogs final : public DialogPort {
public:
    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override;
};

} // namespace qn::win32
