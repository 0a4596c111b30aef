#include "main_window/list_lock.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr KeyModifiers None{};
constexpr KeyModifiers Shift{true, false, false, false};
constexpr KeyModifiers Ctrl{false, true, false, false};
constexpr KeyModifiers Alt{false, false, true, false};
constexpr KeyModifiers Meta{false, false, false, true};

// Each input, what it would do to a list, and so whether a locked one refuses it.
TEST(ListLockTest, ALockedListRefusesOnlyWhatWouldChangeOrOpenIt) {
    using enum ListKey;
    using A = ListAction;
    const struct {
        ListKey key;
        KeyModifiers modifiers;
        ListAction action;
    } rows[] = {
        {Up, None, A::MoveSelection},
        {Down, None, A::MoveSelection},
        {Left, None, A::MoveSelection},
        {Right, Shift, A::MoveSelection},
        {Home, None, A::MoveSelection},
        {End, None, A::MoveSelection},
        {PageUp, None, A::MoveSelection},
        {PageDown, Shift, A::MoveSelection},
        {Down, Alt, A::Open},
        {Up, Alt, A::Open},
        {F4, None, A::Open},
        {Space, None, A::Open},
        {Enter, None, A::Open},
        {Character, None, A::TypeAhead},
        {Character, Shift, A::TypeAhead},
        // Held with any modifier, a key of the list's is still the list's.
        {Left, Alt, A::MoveSelection},
        {Home, Alt, A::MoveSelection},
        {Down, Ctrl, A::MoveSelection},
        {End, Ctrl, A::MoveSelection},
        {Down, Meta, A::MoveSelection},
        {PageDown, Meta, A::MoveSelection},
        {Space, Ctrl, A::Open},
        {Space, Alt, A::Open},
        {F4, Ctrl, A::Open},
        {Enter, Ctrl, A::Open},
        {Enter, Alt, A::Open},
        // The window's, the system's and the browser's own.
        {Tab, None, A::None},
        {Tab, Shift, A::None},
        {Tab, Ctrl, A::None},
        {F1, None, A::None},
        {Escape, None, A::None},
        {OtherFunctionKey, None, A::None},
        {Modifier, Alt, A::None},
        {Other, None, A::None},
        {F4, Alt, A::None},
        {Character, Alt, A::None},
        {Character, Ctrl, A::None},
        {Character, Meta, A::None},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "key " << static_cast<int>(row.key) << " shift " << row.modifiers.shift
                     << " ctrl " << row.modifiers.control << " alt " << row.modifiers.alt
                     << " meta " << row.modifiers.meta);
        const ListAction action = ListActionOf(row.key, row.modifiers);
        EXPECT_EQ(action, row.action);
        EXPECT_EQ(ListRefuses(action, true), row.action != A::None);
        EXPECT_FALSE(ListRefuses(action, false));
    }
    for (const ListAction pointer : {A::Wheel, A::Press}) {
        EXPECT_TRUE(ListRefuses(pointer, true));
        EXPECT_FALSE(ListRefuses(pointer, false));
    }
}

}  // namespace
}  // namespace velmora
