#include "ui/controls.h"

namespace prrsim::ui {

QLabel* makeLabel(const char* name, const QString& caption, int x, int y, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* makeButton(const char* name, const QString& caption, const QRect& geometry,
                        QWidget* parent) {
    auto* button = makeControl<QPushButton>(name, geometry, parent);
    button->setText(caption);
    return button;
}

}  // namespace prrsim::ui
