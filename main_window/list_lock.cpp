#include "main_window/list_lock.h"

namespace velmora {

ListAction ListActionOf(ListKey key, KeyModifiers modifiers) {
    if (modifiers.control || modifiers.meta)
        return ListAction::None;
    if (modifiers.alt)
        return key == ListKey::Up || key == ListKey::Down ? ListAction::Open : ListAction::None;
    switch (key) {
    case ListKey::Up:
    case ListKey::Down:
    case ListKey::Left:
    case ListKey::Right:
    case ListKey::Home:
    case ListKey::End:
    case ListKey::PageUp:
    case ListKey::PageDown:
        return ListAction::MoveSelection;
    case ListKey::Space:
    case ListKey::F4:
        return ListAction::Open;
    case ListKey::Character:
        return ListAction::TypeAhead;
    case ListKey::Tab:
    case ListKey::Enter:
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
