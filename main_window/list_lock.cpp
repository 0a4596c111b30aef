#include "main_window/list_lock.h"

namespace velmora {

ListAction ListActionOf(ListKey key, KeyModifiers modifiers) {
    switch (key) {
    case ListKey::Up:
    case ListKey::Down:
        return modifiers.alt ? ListAction::Open : ListAction::MoveSelection;
    case ListKey::Left:
    case ListKey::Right:
    case ListKey::Home:
    case ListKey::End:
    case ListKey::PageUp:
    case ListKey::PageDown:
        return ListAction::MoveSelection;
    case ListKey::F4:
        return modifiers.alt ? ListAction::None : ListAction::Open;
    case ListKey::Space:
    case ListKey::Enter:
        return ListAction::Open;
    case ListKey::Character:
        return modifiers.control || modifiers.alt || modifiers.meta ? ListAction::None
                                                                    : ListAction::TypeAhead;
    case ListKey::Tab:
    case ListKey::Escape:
    case ListKey::F1:
    case ListKey::OtherFunctionKey:
    case ListKey::Modifier:
    case ListKey::Other:
        break;
    }
    return ListAction::None;
}

}  // namespace velmora
