#pragma once
#include "common/win32/AccessibleAnnotation.h"
#include "monitor/MainUnit/MeterAnnotation.h"

#include <windows.h>

#include <optional>

namespace qn::win32 {

// The meter's annotation on the client of `window`, made when it is first described. The owner clears it while
// the window still exists.
class AccPropAnnotation final : public MeterAnnotationPort {
public:
    explicit AccPropAnnotation(HWND window) : m_window(window) {}

    bool Describe(const std::string& name) override;
    bool SetValue(const std::string& value) override;
    void RaiseValueChange() override;
    void Clear() override;

private:
    HWND m_window;
    std::optional<AccessibleAnnotation> m_annotation;
};

} // namespace qn::win32
