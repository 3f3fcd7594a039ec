#pragma once
// What a screen reader hears of the meter: its client announced as a progress bar with a name, and as its value
// what the title shows. Readers are told of a new value only when it differs from the one they would read.
#include <string>

namespace qn {

// The system's annotation of a window, as the meter needs it.
class MeterAnnotationPort {
public:
    virtual ~MeterAnnotationPort() = default;
    // Announces the client as a progress bar named `name`; false where the system offers no annotation.
    virtual bool Describe(const std::string& name) = 0;
    // The value a reader hears; false where it was refused.
    virtual bool SetValue(const std::string& value) = 0;
    // Tells readers that the value changed (EVENT_OBJECT_VALUECHANGE).
    virtual void RaiseValueChange() = 0;
    // Takes every annotation back, before the window goes.
    virtual void Clear() = 0;
};

class MeterAnnotation {
public:
    MeterAnnotation(MeterAnnotationPort& port, std::string name) : m_port(port), m_name(std::move(name)) {}
    MeterAnnotation(const MeterAnnotation&) = delete;
    MeterAnnotation& operator=(const MeterAnnotation&) = delete;

    // Annotates the client on the first call; then passes on the value, and raises the change, only when it differs.
    // Where the system has no annotation, nothing is tried again.
    void Show(const std::string& value);
    void Clear();

private:
    enum class State { New, Described, Unavailable };
    MeterAnnotationPort& m_port;
    std::string m_name;
    State m_state = State::New;
    std::string m_value;
};

} // namespace qn
