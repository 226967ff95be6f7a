#include "ui/application.h"

#include <QMessageBox>
#include <exception>

namespace prrsim::ui {

bool runGuarded(const std::function<bool()>& handler,
                const std::function<void(const QString&)>& report) {
    try {
        return handler();
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QString());
    }
    return false;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    return runGuarded([&] { return QApplication::notify(receiver, event); },
                      [](const QString& message) {
                          QMessageBox::critical(nullptr, applicationDisplayName(), message);
                      });
}

}  // namespace prrsim::ui
