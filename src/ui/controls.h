#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

namespace prrsim::ui {

// Builders for the windows' child controls: each control gets its component name (Button16,
// ComboBox5...) as its Qt object name and stands at its fixed place; the parent owns it.

template <class Control>
Control* makeControl(const char* name, const QRect& geometry, QWidget* parent) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// A label whose top-left corner is (x, y), sized to its caption.
QLabel* makeLabel(const char* name, const QString& caption, int x, int y, QWidget* parent);

QPushButton* makeButton(const char* name, const QString& caption, const QRect& geometry,
                        QWidget* parent);

}  // namespace prrsim::ui
