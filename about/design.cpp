#include "about/design.h"

#include <QStringList>

namespace velmora {

QFont dialogFont() {
    // The layouts were drawn for a compact 8-point dialog font. On Linux the
    // narrow Liberation face, a little smaller, is the closest that shows
    // every caption whole in its designed box.
    QFont font;
#ifdef Q_OS_WIN
    font.setFamily(QStringLiteral("MS Shell Dlg 2"));
    font.setPointSize(8);
#else
    font.setFamilies({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7.5);
#endif
    return font;
}

}  // namespace velmora
