#include "ui/application.h"

#include <QLibraryInfo>
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

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The windows are Russian whatever the system's language: so are Qt's own texts.
    qtTranslated_ = qtTranslator_.load(QStringLiteral("qtbase_ru"),
                                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                    installTranslator(&qtTranslator_);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    return runGuarded([&] { return QApplication::notify(receiver, event); },
                      [](const QString& message) {
                          QMessageBox::critical(nullptr, applicationDisplayName(), message);
                      });
}

}  // namespace prrsim::ui
