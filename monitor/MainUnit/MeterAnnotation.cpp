#include "monitor/MainUnit/MeterAnnotation.h"

namespace qn {

void MeterAnnotation::Show(const std::string& value) {
    if (m_state == State::New) {
        m_state = m_port.Describe(m_name) ? State::Described : State::Unavailable;
    }
    if (m_state != State::Described || value == m_value) {
        return;
    }
    // A refused value keeps the one readers have, so that the next tick tries again.
    if (m_port.SetValue(value)) {
        m_value = value;
        m_port.RaiseValueChange();
    }
}

void MeterAnnotation::Clear() {
    if (m_state == State::Described) {
        m_port.Clear();
    }
    m_state = State::New;
    m_value.clear();
}

} // namespace qn
