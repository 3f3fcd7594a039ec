#include "monitor/MainUnit/win32/MeterAnnotationWin32.h"

#include <oleacc.h>

namespace qn::win32 {

bool AccPropAnnotation::Describe(const std::string& name) {
    if (!m_annotation) {
        m_annotation.emplace();
    }
    return m_annotation->SetRole(m_window, ROLE_SYSTEM_PROGRESSBAR) && m_annotation->SetName(m_window, name);
}

bool AccPropAnnotation::SetValue(const std::string& value) {
    return m_annotation && m_annotation->SetValue(m_window, value);
}

void AccPropAnnotation::RaiseValueChange() {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
}

void AccPropAnnotation::Clear() {
    if (m_annotation) {
        m_annotation->Clear(m_window);
    }
}

} // namespace qn::win32
