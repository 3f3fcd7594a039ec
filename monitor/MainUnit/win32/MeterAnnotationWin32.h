#pragma once
#include "monitor/MainUnit/MeterAnnotation.h"

#include <windows.h>

struct IAccPropServices;

namespace qn::win32 {

// The annotation through oleacc's dynamic annotation service (IAccPropServices) on the client of `window`. The
// owner clears it while the window still exists.
class AccPropAnnotation final : public MeterAnnotationPort {
public:
    explicit AccPropAnnotation(HWND window) : m_window(window) {}
    AccPropAnnotation(const AccPropAnnotation&) = delete;
    AccPropAnnotation& operator=(const AccPropAnnotation&) = delete;
    ~AccPropAnnotation() override;

    bool Describe(const std::string& name) override;
    bool SetValue(const std::string& value) override;
    void RaiseValueChange() override;
    void Clear() override;

private:
    HWND m_window;
    bool m_comStarted = false;
    IAccPropServices* m_services = nullptr;
};

} // namespace qn::win32
