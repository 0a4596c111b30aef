#include "design/web/dom.h"

#include "design/web/web_design.h"

#include <emscripten.h>

#include <cstdlib>
#include <utility>
#include <vector>

// The scripts below are JavaScript: clang-format would take them for C++.
// clang-format off
// Newer toolchains link only the runtime's helpers that a script names.
#ifdef EM_JS_DEPS
EM_JS_DEPS(velmora_dom, "$UTF8ToString,$stringToNewUTF8");
#endif

// Strings cross as pointer and length, UTF-8 both ways; a string coming back
// is malloc'd by the script (stringToNewUTF8) and freed here.
EM_JS(char*, velmora_dom_value, (const char* id, int idLength), {
    const text = document.getElementById(UTF8ToString(id, idLength)).value;
    return stringToNewUTF8(text);
});
EM_JS(void, velmora_dom_set_value, (const char* id, int idLength, const char* text, int textLength), {
    document.getElementById(UTF8ToString(id, idLength)).value = UTF8ToString(text, textLength);
});
EM_JS(int, velmora_dom_selected_index, (const char* id, int idLength), {
    return document.getElementById(UTF8ToString(id, idLength)).selectedIndex;
});
EM_JS(void, velmora_dom_set_selected_index, (const char* id, int idLength, int index), {
    document.getElementById(UTF8ToString(id, idLength)).selectedIndex = index;
});
EM_JS(char*, velmora_dom_selected_value, (const char* id, int idLength), {
    const list = document.getElementById(UTF8ToString(id, idLength));
    const text = list.selectedIndex >= 0 ? list.options[list.selectedIndex].value : "";
    return stringToNewUTF8(text);
});
EM_JS(int, velmora_dom_checked, (const char* id, int idLength), {
    return document.getElementById(UTF8ToString(id, idLength)).checked ? 1 : 0;
});
EM_JS(void, velmora_dom_set_locked, (const char* id, int idLength, int locked), {
    const element = document.getElementById(UTF8ToString(id, idLength));
    if (element.tagName === "SELECT")
        element.setAttribute("aria-readonly", locked ? "true" : "false");
    else
        element.readOnly = !!locked;
});
EM_JS(void, velmora_dom_set_back_colour, (const char* id, int idLength, const char* name), {
    document.getElementById(UTF8ToString(id, idLength)).setAttribute("data-back", UTF8ToString(name));
});
EM_JS(void, velmora_dom_set_name, (const char* id, int idLength, const char* name, int nameLength), {
    document.getElementById(UTF8ToString(id, idLength)).setAttribute("aria-label", UTF8ToString(name, nameLength));
});
EM_JS(void, velmora_dom_set_description, (const char* id, int idLength, const char* text, int textLength), {
    document.getElementById(UTF8ToString(id, idLength)).setAttribute("aria-description", UTF8ToString(text, textLength));
});
// A region is heard when its text changes: the same text again gets a
// no-break space more, or one less.
EM_JS(void, velmora_dom_say, (const char* id, int idLength, const char* text, int textLength), {
    const region = document.getElementById(UTF8ToString(id, idLength));
    const said = UTF8ToString(text, textLength);
    region.textContent = region.textContent === said ? said + String.fromCharCode(160) : said;
});
EM_JS(void, velmora_dom_after_pause, (int handler, int milliseconds), {
    const timers = Module.pauseTimers || (Module.pauseTimers = {});
    clearTimeout(timers[handler]);
    timers[handler] = setTimeout(() => _velmora_dom_event(handler, 0), milliseconds);
});
EM_JS(void, velmora_dom_set_caption, (const char* id, int idLength, const char* text, int textLength), {
    document.getElementById(UTF8ToString(id, idLength)).textContent = UTF8ToString(text, textLength);
});
EM_JS(void, velmora_dom_show_modal, (const char* id, int idLength, const char* focus, int focusLength), {
    const dialog = document.getElementById(UTF8ToString(id, idLength));
    if (dialog.open)
        return;
    dialog.showModal();
    document.getElementById(UTF8ToString(focus, focusLength)).focus();
});
// Found by the loader (app/web/decimal_separators.js) before the program starts.
EM_JS(char*, velmora_dom_decimal_symbol, (), {
    return stringToNewUTF8(Module.decimalSymbol || ".");
});
EM_JS(char*, velmora_dom_zero_digit, (), {
    return stringToNewUTF8(Module.zeroDigit || "0");
});

// Measured as the pointer comes over the box, before the browser shows the
// title: whatever the box's width then, and without a layout on every write.
// A text box's scrollWidth says nothing of its text, so the text is measured
// in the box's font.
EM_JS(void, velmora_dom_title_clipped_texts, (), {
    let measure = null;
    document.addEventListener("pointerover", event => {
        const box = event.target;
        if (box.tagName !== "INPUT" || box.type !== "text")
            return;
        measure = measure || document.createElement("canvas").getContext("2d");
        const style = getComputedStyle(box);
        measure.font = style.font;
        const room = box.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
        if (measure.measureText(box.value).width > room)
            box.title = box.value;
        else
            box.removeAttribute("title");
    });
});

EM_JS(void, velmora_dom_focus, (const char* id, int idLength), {
    document.getElementById(UTF8ToString(id, idLength)).focus();
});
EM_JS(char*, velmora_dom_focused_id, (), {
    const text = document.activeElement ? document.activeElement.id : "";
    return stringToNewUTF8(text);
});
EM_JS(void, velmora_dom_close_dialog, (const char* id, int idLength), {
    document.getElementById(UTF8ToString(id, idLength)).close();
});
// Touch and wheel listeners must be able to cancel, so none is passive.
EM_JS(void, velmora_dom_listen, (const char* id, int idLength, const char* type, int typeLength, int handler), {
    const name = UTF8ToString(id, idLength);
    const target = name ? document.getElementById(name) : document;
    target.addEventListener(UTF8ToString(type, typeLength), event => {
        if (_velmora_dom_event(handler, 0))
            event.preventDefault();
    }, {passive: false});
});
// The browser's key names, numbered by Key itself (keyNames below).
EM_JS(void, velmora_dom_name_key, (const char* name, int nameLength, int key), {
    (Module.keyNumbers || (Module.keyNumbers = {}))[UTF8ToString(name, nameLength)] = key;
});
EM_JS(void, velmora_dom_listen_keys, (const char* id, int idLength, int handler, int functionKey, int characterKey), {
    const name = UTF8ToString(id, idLength);
    const target = name ? document.getElementById(name) : document;
    const keys = Module.keyNumbers;
    target.addEventListener("keydown", event => {
        // WebKitGTK names a Shift+Tab "Unidentified"; its code is still Tab.
        // (?![^]) ends the function key's name: C++ takes a dollar for a name.
        const key = keys[event.key] || keys[event.code] ||
            (/^F[0-9]+(?![^])/.test(event.key) ? functionKey : [...event.key].length === 1 ? characterKey : 0);
        const modifiers = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) |
            (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0);
        if (_velmora_dom_event(handler, key | modifiers << 8))
            event.preventDefault();
    });
});
EM_JS(void, velmora_dom_set_checked, (const char* id, int idLength), {
    document.getElementById(UTF8ToString(id, idLength)).checked = true;
});
EM_JS(char*, velmora_dom_fragment, (), {
    return stringToNewUTF8(location.hash.slice(1));
});
// Browsers refuse a page that replaces its address too often (Safari more
// than 100 times in 30 s): twenty writes go at once, enough for a number
// typed and a reload straight after it, then one each 0.4 s, a burst's last
// always. Should the page be hidden or left meanwhile, what waits is written
// at once. Should a browser refuse all the same, the
// address stays behind the window, which is all that is lost.
EM_JS(void, velmora_dom_replace_fragment, (const char* fragment, int length), {
    let pace = Module.fragmentPace;
    if (!pace) {
        pace = Module.fragmentPace = {wanted: null, timer: 0, writes: 20, since: performance.now()};
        pace.write = () => {
            const wanted = pace.wanted;
            pace.wanted = null;
            if (location.hash.slice(1) === wanted)
                return;
            try {
                const bare = location.pathname + location.search;
                history.replaceState(history.state, "", wanted ? "#" + wanted : bare);
            } catch (refused) {
            }
        };
        // One write more every 0.4 s, twenty at most.
        pace.wait = () => {
            const now = performance.now();
            pace.writes = Math.min(20, pace.writes + (now - pace.since) / 400);
            pace.since = now;
            return pace.writes >= 1 ? 0 : (1 - pace.writes) * 400;
        };
        // A write that changes nothing costs nothing: opening on an address.
        pace.next = () => {
            pace.timer = 0;
            if (location.hash.slice(1) === pace.wanted)
                pace.wanted = null;
            if (pace.wanted === null)
                return;
            const wait = pace.wait();
            if (wait > 0) {
                pace.timer = setTimeout(pace.next, wait);
                return;
            }
            pace.writes -= 1;
            pace.write();
        };
        const now = () => {
            clearTimeout(pace.timer);
            pace.timer = 0;
            if (pace.wanted !== null)
                pace.write();
        };
        addEventListener("beforeunload", now);
        addEventListener("pagehide", now);
        document.addEventListener("visibilitychange", () => {
            if (document.visibilityState === "hidden")
                now();
        });
    }
    pace.wanted = UTF8ToString(fragment, length);
    if (!pace.timer)
        pace.next();
});
EM_JS(void, velmora_dom_listen_fragment, (int handler), {
    addEventListener("hashchange", () => _velmora_dom_event(handler, 0));
});
// clang-format on

namespace velmora::design::web {

namespace {

// Every handler ever given, by number; the page's listeners hold the numbers.
// A key comes as its Key, with the modifiers' bits above it.
std::vector<std::function<bool(int)>>& handlers() {
    static std::vector<std::function<bool(int)>> all;
    return all;
}

int keep(std::function<bool(int)> handler) {
    handlers().push_back(std::move(handler));
    return static_cast<int>(handlers().size()) - 1;
}

int length(std::string_view text) { return static_cast<int>(text.size()); }

// The browser's names of the keys the windows tell apart (KeyboardEvent.key,
// or its code where an engine leaves the key unnamed).
constexpr std::pair<std::string_view, Key> keyNames[] = {{"Tab", Key::Tab},
                                                         {"F1", Key::F1},
                                                         {"Enter", Key::Enter},
                                                         {"Escape", Key::Escape},
                                                         {"Shift", Key::Modifier},
                                                         {"Control", Key::Modifier},
                                                         {"Alt", Key::Modifier},
                                                         {"Meta", Key::Modifier},
                                                         {"AltGraph", Key::Modifier},
                                                         {"ArrowUp", Key::Up},
                                                         {"ArrowDown", Key::Down},
                                                         {"ArrowLeft", Key::Left},
                                                         {"ArrowRight", Key::Right},
                                                         {"Home", Key::Home},
                                                         {"End", Key::End},
                                                         {"PageUp", Key::PageUp},
                                                         {"PageDown", Key::PageDown},
                                                         {" ", Key::Space},
                                                         {"F4", Key::F4}};

void listenKeys(std::string_view id, int handler) {
    static const bool named = [] {
        for (const auto& [name, key] : keyNames)
            velmora_dom_name_key(name.data(), length(name), static_cast<int>(key));
        return true;
    }();
    (void)named;
    velmora_dom_listen_keys(id.data(), length(id), handler, static_cast<int>(Key::OtherFunction),
                            static_cast<int>(Key::Character));
}

std::string take(char* text) {
    std::string result(text);
    std::free(text);
    return result;
}

}  // namespace

std::string Value(std::string_view id) { return take(velmora_dom_value(id.data(), length(id))); }

void SetValue(std::string_view id, std::string_view text) {
    velmora_dom_set_value(id.data(), length(id), text.data(), length(text));
}

int SelectedIndex(std::string_view id) { return velmora_dom_selected_index(id.data(), length(id)); }

void SetSelectedIndex(std::string_view id, int index) {
    velmora_dom_set_selected_index(id.data(), length(id), index);
}

std::string SelectedValue(std::string_view id) {
    return take(velmora_dom_selected_value(id.data(), length(id)));
}

bool Checked(std::string_view id) { return velmora_dom_checked(id.data(), length(id)) != 0; }

void SetLocked(std::string_view id, bool locked) {
    velmora_dom_set_locked(id.data(), length(id), locked ? 1 : 0);
}

void SetBackColour(std::string_view id, Rgb background) {
    velmora_dom_set_back_colour(id.data(), length(id), BackColourName(background).c_str());
}

void SetName(std::string_view id, std::string_view name) {
    velmora_dom_set_name(id.data(), length(id), name.data(), length(name));
}

void SetDescription(std::string_view id, std::string_view text) {
    velmora_dom_set_description(id.data(), length(id), text.data(), length(text));
}

void Say(std::string_view regionId, std::string_view text) {
    velmora_dom_say(regionId.data(), length(regionId), text.data(), length(text));
}

AfterPause::AfterPause(int milliseconds, std::function<void()> call)
    : m_milliseconds(milliseconds), m_handler(keep([call = std::move(call)](int) {
          call();
          return false;
      })) {}

void AfterPause::restart() const { velmora_dom_after_pause(m_handler, m_milliseconds); }

void SetCaption(std::string_view id, std::string_view text) {
    velmora_dom_set_caption(id.data(), length(id), text.data(), length(text));
}

void ShowModal(std::string_view dialogId, std::string_view focusId) {
    velmora_dom_show_modal(dialogId.data(), length(dialogId), focusId.data(), length(focusId));
}

void TitleClippedTexts() { velmora_dom_title_clipped_texts(); }

void Focus(std::string_view id) { velmora_dom_focus(id.data(), length(id)); }

std::string FocusedId() { return take(velmora_dom_focused_id()); }

void CloseDialog(std::string_view dialogId) {
    velmora_dom_close_dialog(dialogId.data(), length(dialogId));
}

void Listen(std::string_view id, std::string_view type, std::function<bool()> handler) {
    const int number = keep([handler = std::move(handler)](int) { return handler(); });
    velmora_dom_listen(id.data(), length(id), type.data(), length(type), number);
}

void ListenKeys(std::string_view id, std::function<bool(Key)> handler) {
    listenKeys(id, keep([handler = std::move(handler)](int code) {
                   return handler(static_cast<Key>(code & 0xFF));
               }));
}

void ListenKeyStrokes(std::string_view id, std::function<bool(const KeyStroke&)> handler) {
    listenKeys(id, keep([handler = std::move(handler)](int code) {
                   return handler({static_cast<Key>(code & 0xFF), (code & 0x100) != 0,
                                   (code & 0x200) != 0, (code & 0x400) != 0, (code & 0x800) != 0});
               }));
}

std::string DecimalSymbol() { return take(velmora_dom_decimal_symbol()); }

std::string ZeroDigit() { return take(velmora_dom_zero_digit()); }

void SetChecked(std::string_view id) { velmora_dom_set_checked(id.data(), length(id)); }

std::string Fragment() { return take(velmora_dom_fragment()); }

void ReplaceFragment(std::string_view fragment) {
    velmora_dom_replace_fragment(fragment.data(), length(fragment));
}

void ListenFragment(std::function<void()> handler) {
    velmora_dom_listen_fragment(keep([handler = std::move(handler)](int) {
        handler();
        return false;
    }));
}

}  // namespace velmora::design::web

extern "C" EMSCRIPTEN_KEEPALIVE int velmora_dom_event(int handler, int key) {
    return velmora::design::web::handlers()[static_cast<std::size_t>(handler)](key) ? 1 : 0;
}
