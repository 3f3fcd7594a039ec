#include "monitor/MainUnit/win32/MeterAnnotationWin32.h"

#include "common/Trace.h"
#include "common/win32/Utf.h"

// The service's class and interface ids and the property ids, defined here rather than taken from a library.
#include <initguid.h>
#include <oleacc.h>

#include <iterator>

namespace qn::win32 {
namespace {

const MSAAPROPID kProperties[] = {PROPID_ACC_ROLE, PROPID_ACC_NAME, PROPID_ACC_VALUE};

bool Succeeded(HRESULT result, std::string_view what) {
    if (FAILED(result)) {
        Trace(TraceLevel::Warning, what, static_cast<std::uint32_t>(result));
        return false;
    }
    return true;
}

} // namespace

AccPropAnnotation::~AccPropAnnotation() {
    if (m_services) {
        m_services->Release();
    }
    if (m_comStarted) {
        CoUninitialize();
    }
}

bool AccPropAnnotation::Describe(const std::string& name) {
    if (!m_services) {
        // The window's thread is a single-threaded apartment; a thread that already is one says S_FALSE, which
        // is balanced the same way.
        m_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        void* services = nullptr;
        if (!Succeeded(
                CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services),
                "screen reader annotation unavailable")) {
            return false;
        }
        m_services = static_cast<IAccPropServices*>(services);
    }
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_PROGRESSBAR;
    return Succeeded(m_services->SetHwndProp(m_window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, role),
                     "screen reader role refused") &&
           Succeeded(
               m_services->SetHwndPropStr(m_window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, Widen(name).c_str()),
               "screen reader name refused");
}

bool AccPropAnnotation::SetValue(const std::string& value) {
    return m_services && Succeeded(m_services->SetHwndPropStr(m_window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_VALUE,
                                                              Widen(value).c_str()),
                                   "screen reader value refused");
}

void AccPropAnnotation::RaiseValueChange() {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
}

void AccPropAnnotation::Clear() {
    if (m_services) {
        Succeeded(m_services->ClearHwndProps(m_window, OBJID_CLIENT, CHILDID_SELF, kProperties,
                                             static_cast<int>(std::size(kProperties))),
                  "screen reader annotation not cleared");
    }
}

} // namespace qn::win32
