#include "ui/fonts.h"

#include <QStringList>

namespace prrsim::ui {

QFont formFont(bool bold, int pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace prrsim::ui
