#pragma once

#include <QApplication>
#include <QString>
#include <QTranslator>
#include <functional>

namespace prrsim::ui {

// Runs `handler`; an exception escaping it is reported through `report` with its message (an
// empty message for a kind that is not a std::exception). Returns the handler's result, or
// false after an exception.
bool runGuarded(const std::function<bool()>& handler,
                const std::function<void(const QString&)>& report);

// The program's application object: Qt's own dialogs and buttons speak Russian as the windows
// do (Qt's Russian translations, when installed); an exception that escapes an event handler is
// shown in a standard error message box and the program goes on.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Whether Qt's Russian translations were found and installed.
    bool qtTranslated() const { return qtTranslated_; }

  private:
    QTranslator qtTranslator_;
    bool qtTranslated_ = false;
};

}  // namespace prrsim::ui
