#include "common/win32/AccessibleAnnotation.h"

#include "common/Trace.h"
#include "common/win32/Utf.h"

// The service's class and interface ids and the property ids, defined here rather than taken from a library.
#include <initguid.h>
#include <oleacc.h>

#include <iterator>
#include <string_view>

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

AccessibleAnnotation::AccessibleAnnotation() {
    // A thread that is a single-threaded apartment already answers S_FALSE, which is balanced the same way.
    m_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    void* services = nullptr;
    if (Succeeded(
            CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services),
            "screen reader annotation unavailable")) {
        m_services = static_cast<IAccPropServices*>(services);
    }
}

AccessibleAnnotation::~AccessibleAnnotation() {
    if (m_services) {
        m_services->Release();
    }
    if (m_comStarted) {
        CoUninitialize();
    }
}

bool AccessibleAnnotation::SetRole(HWND window, long role) {
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = role;
    return m_services && Succeeded(m_services->SetHwndProp(window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, value),
                                   "screen reader role refused");
}

bool AccessibleAnnotation::SetName(HWND window, const std::string& name) {
    return m_services && Succeeded(m_services->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                                              Widen(name).c_str()),
                                   "screen reader name refused");
}

bool AccessibleAnnotation::SetValue(HWND window, const std::string& value) {
    return m_services && Succeeded(m_services->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_VALUE,
                                                              Widen(value).c_str()),
                                   "screen reader value refused");
}

void AccessibleAnnotation::Clear(HWND window) {
    if (m_services) {
        Succeeded(m_services->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, kProperties,
                                             static_cast<int>(std::size(kProperties))),
                  "screen reader annotation not cleared");
    }
}

} // namespace qn::win32
