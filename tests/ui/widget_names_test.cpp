// Every control of every window is known by its role: an object name that says what it is (no
// numbered component name such as "Button12") and a tooltip that says what it does.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <set>
#include <string>
#include <vector>

#include "form_fixture.h"

namespace prrsim::ui {
namespace {

using WidgetNames = FormTest;

bool isControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) != nullptr ||
           qobject_cast<const QAbstractSlider*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QSpinBox*>(w) != nullptr;
}

// A piece Qt builds inside another widget (scroll bars, a spin box's editor, a table's corner
// button): named and explained by the widget it belongs to.
bool isPartOfAnother(const QWidget* w) {
    for (const QWidget* p = w; p != nullptr; p = p->parentWidget()) {
        if (p->objectName().startsWith(QStringLiteral("qt_"))) {
            return true;
        }
        if (p != w && (qobject_cast<const QAbstractScrollArea*>(p) != nullptr ||
                       qobject_cast<const QComboBox*>(p) != nullptr ||
                       qobject_cast<const QAbstractSpinBox*>(p) != nullptr)) {
            return true;
        }
        if (p->isWindow()) {
            break;
        }
    }
    return false;
}

TEST_F(WidgetNames, EveryControlOfEveryWindowHasARoleNameAndATooltip) {
    // The windows: the main window and every window it owns, each walked to its controls.
    std::vector<const QWidget*> windows = {form.get()};
    std::set<std::string> windowNames = {form->objectName().toStdString()};
    for (const QWidget* w : form->findChildren<QWidget*>()) {
        if (w->isWindow()) {
            windows.push_back(w);
            windowNames.insert(w->objectName().toStdString());
        }
    }
    for (const char* expected : {"mainWindow", "addRadarDialog", "missileWindow",
                                 "reactionControls", "eventLogWindow", "debriefWindow"}) {
        EXPECT_TRUE(windowNames.count(expected) == 1) << expected;
    }
    const QRegularExpression numbered(QStringLiteral("^[A-Z][a-zA-Z]*[0-9]+$"));
    int controls = 0;
    for (const QWidget* window : windows) {
        for (const QWidget* w : window->findChildren<QWidget*>()) {
            if (!isControl(w) || isPartOfAnother(w) || w->window() != window) {
                continue;
            }
            ++controls;
            const std::string where = window->objectName().toStdString() + " / " +
                                      w->metaObject()->className() + " \"" +
                                      w->objectName().toStdString() + "\"";
            EXPECT_FALSE(w->objectName().isEmpty()) << where;
            EXPECT_FALSE(numbered.match(w->objectName()).hasMatch()) << where;
            EXPECT_FALSE(w->toolTip().isEmpty()) << where;
        }
    }
    // The radar panel alone holds more than twenty: the walk reached the controls.
    EXPECT_GT(controls, 60);
}

}  // namespace
}  // namespace prrsim::ui
