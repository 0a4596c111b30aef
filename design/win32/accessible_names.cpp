#include "design/win32/accessible_names.h"

#include <oleacc.h>

#include <string>

namespace velmora::win32 {

namespace {

// CLSID_CAccPropServices, which MinGW declares but no import library defines.
constexpr CLSID AccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};

template <typename Function>
Function procedure(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

AccessibleNames::~AccessibleNames() {
    clear();
    if (m_services)
        m_services->Release();
    if (m_uninitialize)
        m_uninitialize();
}

bool AccessibleNames::name(HWND control, std::wstring_view name) {
    if (!m_tried) {
        m_tried = true;
        // COM comes in only now: importing it would load a dozen libraries
        // before the window could first appear.
        const HMODULE com = LoadLibraryW(L"ole32.dll");
        const auto initialize = procedure<HRESULT(WINAPI*)(LPVOID, DWORD)>(com, "CoInitializeEx");
        const auto create = procedure<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)>(
            com, "CoCreateInstance");
        // S_FALSE when the thread has COM already; both need their CoUninitialize.
        if (initialize && create && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED))) {
            m_uninitialize = procedure<void(WINAPI*)()>(com, "CoUninitialize");
            void* services = nullptr;
            if (SUCCEEDED(create(AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IAccPropServices, &services)))
                m_services = static_cast<IAccPropServices*>(services);
        }
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
    if (!m_services)
        return;
    MSAAPROPID name = PROPID_ACC_NAME;
    for (HWND control : m_named)
        m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    m_named.clear();
}

}  // namespace velmora::win32
