#pragma once

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <utility>

namespace prrsim::ui {

// Builders for the windows' child controls: each control gets the name of its role
// (launchButton, speedSlider...) as its Qt object name and stands at its fixed place; the
// parent owns it.

template <class Control>
Control* makeControl(const char* name, const QRect& geometry, QWidget* parent) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// A label whose top-left corner is (x, y), sized to its caption.
QLabel* makeLabel(const char* name, const QString& caption, int x, int y, QWidget* parent);

// Sets each control's tooltip: what it does, with its unit and range.
void setTips(std::initializer_list<std::pair<QWidget*, QString>> tips);

QPushButton* makeButton(const char* name, const QString& caption, const QRect& geometry,
                        QWidget* parent);

// Menu actions under the name of their role: one added to `menu` with its shortcuts, or one
// made otherwise given its name (and made checkable).
QAction* makeMenuAction(QMenu* menu, const char* name, const QString& text,
                        std::initializer_list<QKeySequence> keys = {});
QAction* namedAction(QAction* action, const char* name);
QAction* checkableAction(QAction* action, const char* name);

// The colour of a control's text.
void setTextColour(QWidget* control, const QColor& colour);

// Emphasis of an armed mode's button: bold and underlined caption.
void setArmed(QPushButton* button, bool armed);
bool isArmed(const QPushButton* button);

// A drop-down list for items longer than the box: closed, it shows the chosen item cut short
// with "…" and the whole item as its tooltip; open, the list is as wide as its longest item.
class ElidingComboBox : public QComboBox {
  public:
    using QComboBox::QComboBox;

    // The text the closed box shows.
    QString shownText() const;

    void showPopup() override;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int textWidth() const;
};

}  // namespace prrsim::ui
