#include "design/win32/accessible_names.h"

#include <oleacc.h>

#include <string>

namespace velmora::win32 {

namespace {

// CLSID_CAccPropServices, which MinGW declares but no import library defines.
constexpr CLSID AccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};

}  // namespace

AccessibleNames::~AccessibleNames() {
    clear();
    if (m_services)
        m_services->Release();
    if (m_comStarted)
        CoUninitialize();
}

bool AccessibleNames::name(HWND control, std::wstring_view name) {
    if (!m_tried) {
        m_tried = true;
        // S_FALSE when the thread has COM already; both need their CoUninitialize.
        m_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        void* services = nullptr;
        if (SUCCEEDED(CoCreateInstance(AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IAccPropServices, &services)))
            m_services = static_cast<IAccPropServices*>(services);
    }
    if (!m_services)
        return false;
    std::wstring text(name);
    if (FAILED(m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                          PROPID_ACC_NAME, text.data())))
        return false;
    m_named.push_back(control);
    return true;
}

void AccessibleNames::clear() {
    MSAAPROPID name = PROPID_ACC_NAME;
    for (HWND control : m_named)
        m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    m_named.clear();
}

}  // namespace velmora::win32
