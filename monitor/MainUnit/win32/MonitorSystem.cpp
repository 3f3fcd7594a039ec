#include "monitor/MainUnit/win32/MonitorSystem.h"

#include "common/win32/ErrorReport.h"
#include "common/win32/ProcessInfo.h"
#include "common/win32/ShellLaunch.h"
#include "common/win32/SystemClock.h"
#include "common/win32/SystemLocale.h"
#include "common/win32/SystemMemory.h"

namespace qn::win32 {

DialogAnswer MonitorSystem::ShowMessage(const std::string& text, const std::string& title, unsigned style) {
    return m_dialogs.ShowMessage(text, title, style);
}

MemoryStatus MonitorSystem::QueryMemoryStatus() {
    return win32::QueryMemoryStatus();
}

DateTime MonitorSystem::Now() {
    return win32::Now();
}

NumberSeparators MonitorSystem::Separators() {
    return UserNumberSeparators();
}

std::string MonitorSystem::ModuleFileName() {
    return win32::ModuleFileName();
}

std::intptr_t MonitorSystem::Start(const std::string& verb, const Launch& launch) {
    return ShellOpen(verb, launch.file, launch.parameters, launch.directory, SW_SHOW);
}

void MonitorSystem::ShowError(const std::string& text) {
    ShowErrorReport(ErrorKind::Monitor, text, m_errorOwner);
}

void MonitorSystem::EndProcess() {
    ExitProcess(0);
}

} // namespace qn::win32
