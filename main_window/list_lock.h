#pragma once

namespace velmora {

// The keys a unit list tells apart, whatever a toolkit calls them.
enum class ListKey {
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Space,
    F4,
    Character,  // one printable character
    Tab,
    Enter,
    Escape,
    F1,
    OtherFunctionKey,  // F2, F3, F5 and on
    Modifier,          // Shift, Ctrl, Alt or Meta alone
    Other
};

struct KeyModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool meta = false;
};

// What the user's input would do to a unit list.
enum class ListAction {
    None,           // the window's, the system's or the browser's: Tab, F1, Ctrl+F, Alt+F4...
    MoveSelection,  // arrows, Home, End, Page Up and Page Down
    Open,           // Alt+Down or Alt+Up, F4, Space, Enter: the drop-down
    TypeAhead,      // a letter picks the unit it starts
    Wheel,
    Press  // a click or a tap, which opens it
};

// The keys that move or open a list do so whatever is held with them, in one
// browser or toolkit or another: they count as the list's with any modifier,
// but Alt+F4, which closes the window. A character is the list's alone or
// with Shift; with Ctrl, Alt or Meta it is a shortcut.
ListAction ListActionOf(ListKey key, KeyModifiers modifiers);

// A locked list refuses whatever would change or open it and lets everything
// else pass on; an unlocked one takes it all.
constexpr bool ListRefuses(ListAction action, bool locked) {
    return locked && action != ListAction::None;
}

}  // namespace velmora
