#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "design/colours.h"

// The page's elements, reached by id from C++. Nothing here raises an event:
// writing a value or a selection from script is silent in the browser, so the
// adapters raise their handlers themselves.
namespace velmora::design::web {

std::string Value(std::string_view id);
void SetValue(std::string_view id, std::string_view text);

int SelectedIndex(std::string_view id);
void SetSelectedIndex(std::string_view id, int index);
// The value attribute of the selected option.
std::string SelectedValue(std::string_view id);

bool Checked(std::string_view id);

// A locked text box is readonly: it still takes the focus and its text can be
// selected and copied. A locked list is marked aria-readonly, which the page
// honours by refusing what would change or open it.
void SetLocked(std::string_view id, bool locked);
// The field's colours, by the name the style sheet gives them
// (BackColourName): the page's policy allows no style attribute.
void SetBackColour(std::string_view id, Rgb background);

// The accessible name an element is known by (aria-label).
void SetName(std::string_view id, std::string_view name);
// What is heard after the name (aria-description).
void SetDescription(std::string_view id, std::string_view text);

// Has a live region say the text: the same text twice is said twice.
void Say(std::string_view regionId, std::string_view text);

// A call put off until a pause: each restart() puts it off again, so that
// it comes once, that long after the last.
class AfterPause {
public:
    AfterPause(int milliseconds, std::function<void()> call);
    void restart() const;

private:
    int m_milliseconds;
    int m_handler;
};

// Text content of a caption, a label or a title.
void SetCaption(std::string_view id, std::string_view text);

// Opens a <dialog> modal; the dialog itself gives the focus back where it
// was when it closes.
void ShowModal(std::string_view dialogId, std::string_view focusId);

// A text box whose text it clips shows the whole text as its title, the
// browser's tool tip; one that fits has none.
void TitleClippedTexts();

void Focus(std::string_view id);
// The id of the element that has the focus, "" for none.
std::string FocusedId();
void CloseDialog(std::string_view dialogId);

// The keys the windows tell apart; any other is Other. Character is any
// key that types one character, OtherFunction F2 and beyond, but F4.
enum class Key {
    Other,
    Tab,
    F1,
    Enter,
    Escape,
    Modifier,
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
    OtherFunction,
    Character
};

// A key with the modifiers held with it.
struct KeyStroke {
    Key key;
    bool shift, control, alt, meta;
};

// Calls the handler on every event of that type at the element, or at the
// whole page for the id "". A handler that returns true has taken the event:
// the browser's own response to it is cancelled.
void Listen(std::string_view id, std::string_view type, std::function<bool()> handler);
void ListenKeys(std::string_view id, std::function<bool(Key)> handler);
void ListenKeyStrokes(std::string_view id, std::function<bool(const KeyStroke&)> handler);

// The decimal symbol of the browser's language and the zero of its digits,
// as the CLDR release of the page's table gives them: "," and "0" for
// German, "\u066B" and "\u06F0" for Persian.
std::string DecimalSymbol();
std::string ZeroDigit();

// Checks a radio button; the others of its group clear, and nothing is raised.
void SetChecked(std::string_view id);

// The page address's fragment, without its '#', percent-encoded as the
// address holds it.
std::string Fragment();
// Puts the fragment in the address in place of the current one, adding no
// history entry and raising nothing; "" leaves the bare address. Of many
// calls in a short while, the first and the last are written.
void ReplaceFragment(std::string_view fragment);
// Calls the handler whenever the fragment changes other than by
// ReplaceFragment: edited by hand, or by Back and Forward.
void ListenFragment(std::function<void()> handler);

}  // namespace velmora::design::web
