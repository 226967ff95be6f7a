#include "ui/pictures.h"

#include <QPainter>
#include <QPen>
#include <cmath>

#include "world/geometry.h"

// The pictures are compiled into the UI library; resources of a static library must be
// registered explicitly before first use.
static void registerPictures() {
    Q_INIT_RESOURCE(resources);
}

namespace prrsim::ui {

namespace {

QPixmap loadPicture(const char* resource) {
    static const bool registered = (registerPictures(), true);
    (void)registered;
    QPixmap picture(QString::fromLatin1(resource));
    if (picture.isNull()) {
        // The resources are compiled in; a null picture would mean a broken build. Fall back to
        // a plain face so drawing goes on.
        picture = QPixmap(62, 62);
        picture.fill(Qt::white);
    }
    return picture;
}

}  // namespace

QPixmap compassPicture() {
    return loadPicture(":/compass.bmp");
}

QPixmap crossPicture() {
    return loadPicture(":/cross.bmp");
}

QPixmap compassWithNeedle(double angle, int penWidth) {
    QPixmap picture = compassPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor(0, 0, 255), penWidth);
    if (penWidth > 1) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    painter.setPen(pen);
    painter.drawLine(QPoint(31, 31), QPoint(trunc32(30 * std::cos(angle) + 31),
                                            trunc32(30 * std::sin(angle) + 31)));
    return picture;
}

}  // namespace prrsim::ui
