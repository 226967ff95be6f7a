#pragma once

#include <QApplication>
#include <QString>
#include <functional>

namespace prrsim::ui {

// Runs `handler`; an exception escaping it is reported through `report` with its message (an
// empty message for a kind that is not a std::exception). Returns the handler's result, or
// false after an exception.
bool runGuarded(const std::function<bool()>& handler,
                const std::function<void(const QString&)>& report);

// The program's application object: an exception that escapes an event handler is shown in a
// standard error message box and the program goes on.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace prrsim::ui
