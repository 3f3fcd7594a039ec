#pragma once
// oleacc's dynamic annotation (IAccPropServices): what a screen reader hears of a window's client, set by the
// window's program instead of a whole accessible object of its own.
#include <windows.h>

#include <string>

struct IAccPropServices;

namespace qn::win32 {

class AccessibleAnnotation {
public:
    // The service on this thread, which is a single-threaded apartment while the object lives. Where it cannot
    // be had, every call answers false and leaves a trace.
    AccessibleAnnotation();
    AccessibleAnnotation(const AccessibleAnnotation&) = delete;
    AccessibleAnnotation& operator=(const AccessibleAnnotation&) = delete;
    ~AccessibleAnnotation();

    bool SetRole(HWND window, long role);
    bool SetName(HWND window, const std::string& name);
    bool SetValue(HWND window, const std::string& value);
    // Takes the role, the name and the value back; called while the window still exists.
    void Clear(HWND window);

private:
    bool m_comStarted = false;
    IAccPropServices* m_services = nullptr;
};

} // namespace qn::win32
