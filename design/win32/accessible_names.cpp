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
        const auto create =
            procedure<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)>(
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
        m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name,
                                   1);
    m_named.clear();
}

namespace {

constexpr wchar_t LockedMark[] = L"VelmoraLocked";

// Loaded when a screen reader first asks, like COM above.
struct Oleacc {
    HRESULT(WINAPI* createStandard)(HWND, LONG, REFIID, void**) = nullptr;
    LRESULT(WINAPI* resultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    BSTR(WINAPI* allocString)(const OLECHAR*) = nullptr;

    static const Oleacc& get() {
        static const Oleacc loaded = [] {
            Oleacc o;
            const HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
            const HMODULE oleaut = LoadLibraryW(L"oleaut32.dll");
            o.createStandard =
                procedure<decltype(o.createStandard)>(oleacc, "CreateStdAccessibleObject");
            o.resultFromObject =
                procedure<decltype(o.resultFromObject)>(oleacc, "LresultFromObject");
            o.allocString = procedure<decltype(o.allocString)>(oleaut, "SysAllocString");
            return o;
        }();
        return loaded;
    }
    bool usable() const { return createStandard && resultFromObject && allocString; }
};

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object for the list, with its name, value, role and state
// amended; everything else, its parts included, is the system's.
class ListAccessible final : public IAccessible, public IOleWindow {
public:
    ListAccessible(IAccessible* system, HWND list, std::wstring_view purpose)
        : m_system(system), m_list(list), m_purpose(purpose) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible)
            *object = static_cast<IAccessible*>(this);
        else if (iid == IID_IOleWindow)
            *object = static_cast<IOleWindow*>(this);
        else
            return *object = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            m_system->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IOleWindow: which window this is, for WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = m_list;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return m_system->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return m_system->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return m_system->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return m_system->Invoke(id, iid, locale, flags, params, result, exception, argument);
    }

    // IAccessible: what is amended.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child))
            return m_system->get_accName(child, name);
        *name = Oleacc::get().allocString(m_purpose.c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!isSelf(child))
            return m_system->get_accValue(child, value);
        // A drop-down list's text is its chosen item.
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_list)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(m_list, text.data(), static_cast<int>(text.size()))));
        *value = Oleacc::get().allocString(text.c_str());
        return *value ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child))
            return m_system->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_COMBOBOX;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = m_system->get_accState(child, state);
        if (SUCCEEDED(result) && isSelf(child) && state->vt == VT_I4 &&
            GetPropW(m_list, LockedMark))
            state->lVal |= STATE_SYSTEM_READONLY;
        return result;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        if (isSelf(child) && GetPropW(m_list, LockedMark))
            return E_ACCESSDENIED;
        return m_system->put_accValue(child, value);
    }

    // IAccessible: the system's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return m_system->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return m_system->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return m_system->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return m_system->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return m_system->get_accHelp(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return m_system->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return m_system->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return m_system->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return m_system->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return m_system->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return m_system->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return m_system->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return m_system->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return m_system->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return m_system->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return m_system->put_accName(child, name);
    }

private:
    ~ListAccessible() = default;

    IAccessible* m_system;
    HWND m_list;
    std::wstring m_purpose;
    LONG m_references = 1;
};

}  // namespace

LRESULT AnswerListObject(HWND list, WPARAM flags, std::wstring_view purpose) {
    const Oleacc& oleacc = Oleacc::get();
    if (!oleacc.usable())
        return 0;
    void* system = nullptr;
    if (FAILED(
            oleacc.createStandard(list, static_cast<LONG>(OBJID_CLIENT), IID_IAccessible, &system)))
        return 0;
    auto* object = new ListAccessible(static_cast<IAccessible*>(system), list, purpose);
    // The result holds its own reference.
    const LRESULT result =
        oleacc.resultFromObject(IID_IAccessible, flags, static_cast<IAccessible*>(object));
    object->Release();
    return result > 0 ? result : 0;
}

void MarkListLocked(HWND list, bool locked) {
    if (locked == (GetPropW(list, LockedMark) != nullptr))
        return;
    if (locked)
        SetPropW(list, LockedMark, reinterpret_cast<HANDLE>(1));
    else
        RemovePropW(list, LockedMark);
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, list, static_cast<LONG>(OBJID_CLIENT), CHILDID_SELF);
}

}  // namespace velmora::win32
