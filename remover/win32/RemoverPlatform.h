#pragma once
#include "common/win32/MessageBoxDialogs.h"
#include "remover/Removal.h"

namespace qn::win32 {

// The removal run's view of Windows: message boxes, its own path, a folder window and DeleteFileW.
class RemoverPlatform final : public RemoverPort {
public:
    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override;
    std::string ProgramPath() override;
    bool ShowFolder(const std::string& directory) override;
    FileDeletion RemoveFile(const std::string& path) override;
    bool FileExists(const std::string& path) override;

private:
    MessageBoxDialogs m_dialogs;
};

} // namespace qn::win32
