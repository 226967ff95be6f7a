#include "ui/pictures.h"

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

QPixmap compassPicture() { return loadPicture(":/compass.bmp"); }

QPixmap crossPicture() { return loadPicture(":/cross.bmp"); }

}  // namespace prrsim::ui
