// Scene files of the main window: the menu "Сцена", opening and saving, recent files and the
// recovery file.
#include "ui/scene_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "scenario/input_text.h"
#include "scenario/output_file.h"
#include "ui/controls.h"
#include "ui/scene_errors.h"
#include "ui/ui_text.h"

namespace prrsim::ui {

namespace {

constexpr int kRecentCount = 8;
constexpr int kRecoveryIntervalMs = 10'000;
const QString kTitle = QStringLiteral("Наведение ПРР");

// The progress of a long step, reading or playing a scene: a dialog with "Отмена" once the step
// has taken `afterMs`; the step asks it after each part whether to go on.
class SlowStepProgress {
  public:
    SlowStepProgress(QWidget* parent, int afterMs) : parent_(parent), afterMs_(afterMs) {
        started_.start();
    }

    bool report(const QString& label, double fraction) {
        if (!dialog_ && started_.elapsed() >= afterMs_) {
            dialog_ = std::make_unique<QProgressDialog>(label, QStringLiteral("Отмена"), 0, kSteps,
                                                        parent_);
            dialog_->setObjectName(QStringLiteral("sceneProgressDialog"));
            dialog_->setWindowModality(Qt::WindowModal);
            dialog_->setMinimumDuration(0);
        }
        if (!dialog_) {
            return true;
        }
        dialog_->setLabelText(label);
        dialog_->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * (kSteps - 1)));
        QCoreApplication::processEvents();
        return !dialog_->wasCanceled();
    }

  private:
    static constexpr int kSteps = 1000;
    QWidget* parent_;
    int afterMs_;
    QElapsedTimer started_;
    std::unique_ptr<QProgressDialog> dialog_;
};

// A message box with Russian buttons; returns the role of the button pressed.
QMessageBox::ButtonRole ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                            const QList<QPair<QString, QMessageBox::ButtonRole>>& buttons) {
    QMessageBox box(icon, kTitle, text, QMessageBox::NoButton, parent);
    QAbstractButton* first = nullptr;
    for (const auto& [caption, role] : buttons) {
        QAbstractButton* b = box.addButton(caption, role);
        first = first != nullptr ? first : b;
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(first));
    box.exec();
    return box.clickedButton() != nullptr ? box.buttonRole(box.clickedButton())
                                          : QMessageBox::RejectRole;
}

void russianLabels(QFileDialog& dialog, const QString& accept) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Папка:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Имя файла:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Тип файлов:"));
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Отмена"));
    dialog.setNameFilters({QStringLiteral("Сцены (*.json)"), QStringLiteral("Все файлы (*)")});
}

}  // namespace

SceneFiles::SceneFiles(session::Session& session, QWidget* window, QMenuBar* menuBar)
    : QObject(window), session_(session), window_(window) {
    setObjectName(QStringLiteral("sceneFiles"));
    createMenu(menuBar);
    createPrompts();
}

void SceneFiles::createMenu(QMenuBar* menuBar) {
    QMenu* menu = menuBar->addMenu(QStringLiteral("Сцена"));
    menu->setObjectName(QStringLiteral("sceneMenu"));
    QAction* fresh = makeMenuAction(menu, "newAction", QStringLiteral("Новая"), {});
    fresh->setStatusTip(QStringLiteral("Сцена при запуске: четыре самолёта, шесть РЛС"));
    QAction* empty = makeMenuAction(menu, "emptyAction", QStringLiteral("Пустая"), {});
    empty->setStatusTip(QStringLiteral("Карта без самолётов и РЛС"));
    QAction* open =
        makeMenuAction(menu, "openAction", QStringLiteral("Открыть…"), {QKeySequence::Open});
    QAction* saveAction =
        makeMenuAction(menu, "saveAction", QStringLiteral("Сохранить"), {QKeySequence::Save});
    QAction* saveAsAction = makeMenuAction(menu, "saveAsAction", QStringLiteral("Сохранить как…"),
                                           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    menu->addSeparator();
    recentMenu_ = menu->addMenu(QStringLiteral("Недавние"));
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    menu->addSeparator();
    QAction* exit = makeMenuAction(menu, "exitAction", QStringLiteral("Выход"),
                                   {QKeySequence(Qt::CTRL | Qt::Key_Q)});

    connect(fresh, &QAction::triggered, this, [this] {
        if (settleChanges()) {
            newScene(batch::StartWorld::Default);
        }
    });
    connect(empty, &QAction::triggered, this, [this] {
        if (settleChanges()) {
            newScene(batch::StartWorld::Empty);
        }
    });
    connect(open, &QAction::triggered, this, &SceneFiles::openChosen);
    connect(saveAction, &QAction::triggered, this, &SceneFiles::save);
    connect(saveAsAction, &QAction::triggered, this, &SceneFiles::saveAs);
    connect(exit, &QAction::triggered, window_, &QWidget::close);
    fillRecentMenu();
}

void SceneFiles::createPrompts() {
    // The prompts: modal boxes, with the timers waiting while one is open.
    askSave = [this](const QString& question) {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        const QString scene = sceneFile_.isEmpty() ? QStringLiteral("новой сцене")
                                                   : "«" + QFileInfo(sceneFile_).fileName() + "»";
        switch (ask(window_, QMessageBox::Question,
                    question + "\n\nВ " + scene + " есть несохранённые действия.",
                    {{QStringLiteral("Сохранить"), QMessageBox::AcceptRole},
                     {QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole},
                     {QStringLiteral("Отмена"), QMessageBox::RejectRole}})) {
            case QMessageBox::AcceptRole:
                return SaveAnswer::Save;
            case QMessageBox::DestructiveRole:
                return SaveAnswer::Discard;
            default:
                return SaveAnswer::Cancel;
        }
    };
    askYesNo = [this](const QString& question, const QString& yes) {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        return ask(window_, QMessageBox::Question, question,
                   {{yes, QMessageBox::AcceptRole},
                    {QStringLiteral("Нет"), QMessageBox::RejectRole}}) == QMessageBox::AcceptRole;
    };
    showError = [this](const QString& text) {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        ask(window_, QMessageBox::Critical, text,
            {{QStringLiteral("Закрыть"), QMessageBox::AcceptRole}});
    };
    askOpenFile = [this]() {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        QFileDialog dialog(window_, QStringLiteral("Открыть сцену"));
        russianLabels(dialog, QStringLiteral("Открыть"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (!sceneFile_.isEmpty()) {
            dialog.setDirectory(QFileInfo(sceneFile_).absolutePath());
        }
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    };
    askSaveFile = [this](const QString& suggested) {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        QFileDialog dialog(window_, QStringLiteral("Сохранить сцену"));
        russianLabels(dialog, QStringLiteral("Сохранить"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("json"));
        dialog.selectFile(suggested);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    };
}

bool SceneFiles::confirmDrop(int64_t tick) {
    return askYesNo(QStringLiteral("Отбросить действия после %1?\n\nЗапись с этого момента "
                                   "продолжится заново.")
                        .arg(clockText(tick)),
                    QStringLiteral("Отбросить"));
}

void SceneFiles::newScene(batch::StartWorld start, uint32_t seed) {
    emit sceneChanging();
    session_.reset(start, seed);
    sceneFile_.clear();
    emit sceneReplaced(false);
}

// A scene given up by the user is only noted; any other refusal is shown.
void SceneFiles::refuseOpening(const QString& name, const batch::ScenarioError& error) {
    if (error.refusal.code == batch::RefusalCode::Cancelled) {
        emit notice(
            QStringLiteral("Открытие сцены «%1» отменено; текущая сцена не изменилась").arg(name));
    } else {
        showError(sceneErrorText(error));
    }
}

bool SceneFiles::openScene(const QString& path) {
    const QScopedValueRollback<int> modal(modal_, modal_ + 1);
    const QString name = QFileInfo(path).fileName();
    SlowStepProgress progress(window_, progressAfterMs);
    batch::ScenarioError error;
    const auto scenario = batch::loadScenario(path.toStdString(), error, [&](double fraction) {
        return progress.report(QStringLiteral("Сцена «%1» читается…").arg(name), fraction);
    });
    if (!scenario) {
        refuseOpening(name, error);
        return false;
    }
    const session::Session::Progress played = [&](int64_t done, int64_t total) {
        return progress.report(
            QStringLiteral("Сцена «%1» проигрывается до конца…").arg(name),
            static_cast<double>(done) / static_cast<double>(std::max<int64_t>(total, 1)));
    };
    if (!session_.open(*scenario, path.toStdString(), error, played)) {
        refuseOpening(name, error);
        return false;
    }
    emit sceneChanging();
    sceneFile_ = path;
    rememberRecent(path);
    emit sceneReplaced(true);
    return true;
}

bool SceneFiles::saveScene(const QString& path) {
    const std::string text = batch::writeScenario(session_.recording());
    // Checked up to the disk: a full disk keeps the "*" and the session, and says so.
    if (const auto failure = batch::writeWholeFile(QFile::encodeName(path).toStdString(), text)) {
        showError(saveErrorText(path, *failure));
        return false;
    }
    sceneFile_ = path;
    session_.setModified(false);
    rememberRecent(path);
    emit fileChanged();
    return true;
}

bool SceneFiles::save() {
    return sceneFile_.isEmpty() ? saveAs() : saveScene(sceneFile_);
}

bool SceneFiles::saveAs() {
    QString path = askSaveFile(sceneFile_.isEmpty() ? QStringLiteral("сцена.json") : sceneFile_);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".json");
    }
    return saveScene(path);
}

void SceneFiles::openChosen() {
    if (!settleChanges()) {
        return;
    }
    const QString path = askOpenFile();
    if (!path.isEmpty()) {
        openScene(path);
    }
}

bool SceneFiles::settleChanges() {
    if (!session_.modified()) {
        return true;
    }
    switch (askSave(QStringLiteral("Сохранить изменения?"))) {
        case SaveAnswer::Save:
            return save();
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

bool SceneFiles::settleForClose() {
    if (!settleChanges()) {
        return false;
    }
    // A window closed on purpose, its changes settled, leaves nothing to restore.
    if (recovery_) {
        recovery_->remove();
    }
    return true;
}

void SceneFiles::setStateDirectory(const QString& directory) {
    stateDirectory_ = directory;
    QDir().mkpath(directory);
    recent_.clear();
    QFile list(QDir(directory).filePath(QStringLiteral("recent.txt")));
    if (list.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'))) {
            if (!line.isEmpty() && recent_.size() < kRecentCount) {
                recent_ << line;
            }
        }
    }
    fillRecentMenu();
    if (!recovery_) {
        recovery_ = std::make_unique<RecoveryFile>(directory);
    }
    if (recoveryTimer_ == nullptr) {
        recoveryTimer_ = new QTimer(this);
        recoveryTimer_->setObjectName(QStringLiteral("recoveryTimer"));
        recoveryTimer_->setInterval(kRecoveryIntervalMs);
        connect(recoveryTimer_, &QTimer::timeout, this, &SceneFiles::writeRecovery);
    }
    recoveryTimer_->start();
}

void SceneFiles::rememberRecent(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    recent_.removeAll(full);
    recent_.prepend(full);
    while (recent_.size() > kRecentCount) {
        recent_.removeLast();
    }
    fillRecentMenu();
    if (!stateDirectory_.isEmpty()) {
        // A list that cannot be written keeps the old one; the menu has the new order anyway.
        batch::writeWholeFile(
            QFile::encodeName(QDir(stateDirectory_).filePath(QStringLiteral("recent.txt")))
                .toStdString(),
            recent_.join(QLatin1Char('\n')).toUtf8().toStdString());
    }
}

void SceneFiles::fillRecentMenu() {
    recentMenu_->clear();
    for (int i = 0; i < recent_.size(); ++i) {
        const QString path = recent_[i];
        QAction* action = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setStatusTip(path);
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (settleChanges()) {
                openScene(path);
            }
        });
    }
    recentMenu_->setEnabled(!recent_.isEmpty());
}

}  // namespace prrsim::ui
