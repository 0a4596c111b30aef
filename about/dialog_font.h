#pragma once

#include <QFont>

namespace velmora {

// The compact dialog font both windows are laid out for.
QFont dialogFont();

}  // namespace velmora
