#include "ui/controls.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>
#include <algorithm>

namespace prrsim::ui {

void setTips(std::initializer_list<std::pair<QWidget*, QString>> tips) {
    for (const auto& [control, tip] : tips) {
        control->setToolTip(tip);
    }
}

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

QAction* makeMenuAction(QMenu* menu, const char* name, const QString& text,
                        std::initializer_list<QKeySequence> keys) {
    QAction* action = namedAction(menu->addAction(text), name);
    action->setShortcuts(QList<QKeySequence>(keys));
    return action;
}

QAction* namedAction(QAction* action, const char* name) {
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* checkableAction(QAction* action, const char* name) {
    namedAction(action, name)->setCheckable(true);
    return action;
}

void setTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

void setArmed(QPushButton* button, bool armed) {
    QFont font = button->font();
    font.setBold(armed);
    font.setUnderline(armed);
    button->setFont(font);
}

bool isArmed(const QPushButton* button) {
    return button->font().bold() && button->font().underline();
}

int ElidingComboBox::textWidth() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return field.width() - 2;  // the label is drawn one pixel in from each side
}

QString ElidingComboBox::shownText() const {
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, textWidth());
}

void ElidingComboBox::showPopup() {
    const int frame = 2 * view()->frameWidth() + 4;
    view()->setMinimumWidth(std::max(width(), view()->sizeHintForColumn(0) + frame));
    QComboBox::showPopup();
}

bool ElidingComboBox::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QString text = currentText();
        if (shownText() != text) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QComboBox::event(event);
}

void ElidingComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace prrsim::ui
