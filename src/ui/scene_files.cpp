// Scene files of the main window: the "Сцена" and "Время" menus, opening and saving, recent
// files, the recovery file and the window's title.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <memory>

#include "scenario/input_text.h"
#include "scenario/output_file.h"
#include "session/recovery_text.h"
#include "ui/map_area_layout.h"
#include "ui/scene_errors.h"
#include "ui/main_window.h"
#include "ui/add_radar_dialog.h"

namespace prrsim::ui {

namespace {

constexpr int kRecentCount = 8;
constexpr int kRecoveryIntervalMs = 10'000;
const QString kTitle = QStringLiteral("Наведение ПРР");

QAction* menuAction(QMenu* menu, const QString& text, std::initializer_list<QKeySequence> keys) {
    QAction* action = menu->addAction(text);
    action->setShortcuts(QList<QKeySequence>(keys));
    return action;
}

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

void MainWindow::createMenus() {
    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    SceneMenu = MenuBar->addMenu(QStringLiteral("Сцена"));
    NewAction = menuAction(SceneMenu, QStringLiteral("Новая"), {});
    NewAction->setStatusTip(QStringLiteral("Сцена при запуске: четыре самолёта, шесть РЛС"));
    EmptyAction = menuAction(SceneMenu, QStringLiteral("Пустая"), {});
    EmptyAction->setStatusTip(QStringLiteral("Карта без самолётов и РЛС"));
    OpenAction = menuAction(SceneMenu, QStringLiteral("Открыть…"), {QKeySequence::Open});
    SaveAction = menuAction(SceneMenu, QStringLiteral("Сохранить"), {QKeySequence::Save});
    SaveAsAction = menuAction(SceneMenu, QStringLiteral("Сохранить как…"),
                              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    SceneMenu->addSeparator();
    RecentMenu = SceneMenu->addMenu(QStringLiteral("Недавние"));
    SceneMenu->addSeparator();
    ExitAction =
        menuAction(SceneMenu, QStringLiteral("Выход"), {QKeySequence(Qt::CTRL | Qt::Key_Q)});

    TimeMenu = MenuBar->addMenu(QStringLiteral("Время"));
    PauseAction = menuAction(TimeMenu, QStringLiteral("Пауза"), {QKeySequence(Qt::Key_Space)});
    StepTickAction =
        menuAction(TimeMenu, QStringLiteral("Шаг на такт"), {QKeySequence(Qt::Key_Period)});
    StepSecondAction = menuAction(TimeMenu, QStringLiteral("Шаг на 1 с"),
                                  {QKeySequence(Qt::CTRL | Qt::Key_Period)});
    TimeMenu->addSeparator();
    FasterAction = menuAction(TimeMenu, QStringLiteral("Быстрее"),
                              {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                               QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)});
    SlowerAction =
        menuAction(TimeMenu, QStringLiteral("Медленнее"),
                   {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});
    TimeMenu->addSeparator();
    RestartAction =
        menuAction(TimeMenu, QStringLiteral("Заново"), {QKeySequence(Qt::CTRL | Qt::Key_R)});
    // Time keys work from the missile window and the add-radar dialog too.
    for (QAction* action : TimeMenu->actions()) {
        action->setShortcutContext(Qt::ApplicationShortcut);
    }

    connect(NewAction, &QAction::triggered, this, [this] {
        if (settleChanges()) {
            newScene(batch::StartWorld::Default);
        }
    });
    connect(EmptyAction, &QAction::triggered, this, [this] {
        if (settleChanges()) {
            newScene(batch::StartWorld::Empty);
        }
    });
    connect(OpenAction, &QAction::triggered, this, &MainWindow::openChosen);
    connect(SaveAction, &QAction::triggered, this, &MainWindow::save);
    connect(SaveAsAction, &QAction::triggered, this, &MainWindow::saveAs);
    connect(ExitAction, &QAction::triggered, this, &QWidget::close);
    connect(PauseAction, &QAction::triggered, this, &MainWindow::togglePause);
    connect(StepTickAction, &QAction::triggered, this, [this] { stepTicks(1); });
    connect(StepSecondAction, &QAction::triggered, this, [this] { stepTicks(100); });
    connect(FasterAction, &QAction::triggered, this, &MainWindow::faster);
    connect(SlowerAction, &QAction::triggered, this, &MainWindow::slower);
    connect(RestartAction, &QAction::triggered, this, &MainWindow::restart);
    fillRecentMenu();

    // The prompts: modal boxes, with the timers waiting while one is open.
    askSave = [this](const QString& question) {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        const QString scene = sceneFile_.isEmpty() ? QStringLiteral("новой сцене")
                                                   : "«" + QFileInfo(sceneFile_).fileName() + "»";
        switch (ask(this, QMessageBox::Question,
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
        return ask(this, QMessageBox::Question, question,
                   {{yes, QMessageBox::AcceptRole},
                    {QStringLiteral("Нет"), QMessageBox::RejectRole}}) == QMessageBox::AcceptRole;
    };
    showError = [this](const QString& text) {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        ask(this, QMessageBox::Critical, text,
            {{QStringLiteral("Закрыть"), QMessageBox::AcceptRole}});
    };
    askOpenFile = [this]() {
        const QScopedValueRollback<int> modal(modal_, modal_ + 1);
        QFileDialog dialog(this, QStringLiteral("Открыть сцену"));
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
        QFileDialog dialog(this, QStringLiteral("Сохранить сцену"));
        russianLabels(dialog, QStringLiteral("Сохранить"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("json"));
        dialog.selectFile(suggested);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    };
}

void MainWindow::arrangeWindow() {
    // The components keep their places inside a client area under the menu bar; the window
    // grows from that size, the map taking the room (MapAreaLayout).
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->resize(787, 512);
    client->setMinimumSize(787, 512);
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == client || w == MenuBar || w == StatusBar || w->isWindow()) {
            continue;
        }
        const bool hidden = w->isHidden();
        w->setParent(client);
        w->setVisible(!hidden);
    }
    setMenuBar(MenuBar);
    setCentralWidget(client);
    setStatusBar(StatusBar);
    // The window never shrinks below its components' places.
    layout()->setSizeConstraint(QLayout::SetMinimumSize);
    new MapAreaLayout(client, Image1);  // owned by the client
}

void MainWindow::updateTitle() {
    const QString name = QFileInfo(sceneFile_).fileName();
    setWindowTitle(name.isEmpty() ? kTitle + "[*]" : kTitle + " — " + name + "[*]");
    setWindowModified(session_.modified());
}

bool MainWindow::confirmDrop(int64_t tick) {
    return askYesNo(QStringLiteral("Отбросить действия после %1?\n\nЗапись с этого момента "
                                   "продолжится заново.")
                        .arg(clockText(tick)),
                    QStringLiteral("Отбросить"));
}

void MainWindow::newScene(batch::StartWorld start, uint32_t seed) {
    Form2->close();
    impact_ = ImpactText{};
    session_.reset(start, seed);
    sceneFile_.clear();
    updateTitle();
    setPaused(paused_);
}

bool MainWindow::openScene(const QString& path) {
    const QScopedValueRollback<int> modal(modal_, modal_ + 1);
    batch::ScenarioError error;
    const auto scenario = batch::loadScenario(path.toStdString(), error);
    if (!scenario) {
        showError(sceneErrorText(error));
        return false;
    }
    // A long scene shows its progress and can be given up.
    QElapsedTimer started;
    started.start();
    std::unique_ptr<QProgressDialog> dialog;
    const session::Session::Progress progress = [&](int64_t done, int64_t total) {
        if (!dialog && started.elapsed() > 500) {
            dialog = std::make_unique<QProgressDialog>(
                QStringLiteral("Сцена «%1» проигрывается до конца…")
                    .arg(QFileInfo(path).fileName()),
                QStringLiteral("Отмена"), 0, 1000, this);
            dialog->setWindowModality(Qt::WindowModal);
            dialog->setMinimumDuration(0);
        }
        if (dialog) {
            dialog->setValue(static_cast<int>(done * 1000 / std::max<int64_t>(total, 1)));
            QCoreApplication::processEvents();
            return !dialog->wasCanceled();
        }
        return true;
    };
    if (!session_.open(*scenario, path.toStdString(), error, progress)) {
        if (!error.reason.empty()) {
            showError(sceneErrorText(error));
        }
        return false;
    }
    Form2->close();
    impact_ = ImpactText{};
    sceneFile_ = path;
    rememberRecent(path);
    updateTitle();
    setPaused(true);
    return true;
}

bool MainWindow::saveScene(const QString& path) {
    const std::string text = batch::writeScenario(session_.recording());
    // Checked up to the disk: a full disk keeps the "*" and the session, and says so.
    if (const auto failure = batch::writeWholeFile(QFile::encodeName(path).toStdString(), text)) {
        showError(saveErrorText(path, *failure));
        return false;
    }
    sceneFile_ = path;
    session_.setModified(false);
    rememberRecent(path);
    updateTitle();
    updateStatus();
    return true;
}

bool MainWindow::save() {
    return sceneFile_.isEmpty() ? saveAs() : saveScene(sceneFile_);
}

bool MainWindow::saveAs() {
    QString path = askSaveFile(sceneFile_.isEmpty() ? QStringLiteral("сцена.json") : sceneFile_);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".json");
    }
    return saveScene(path);
}

void MainWindow::openChosen() {
    if (!settleChanges()) {
        return;
    }
    const QString path = askOpenFile();
    if (!path.isEmpty()) {
        openScene(path);
    }
}

bool MainWindow::settleChanges() {
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

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!settleChanges()) {
        event->ignore();
        return;
    }
    // A window closed on purpose, its changes settled, leaves nothing to restore.
    if (recovery_) {
        recovery_->remove();
    }
    event->accept();
}

void MainWindow::setStateDirectory(const QString& directory) {
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
    if (RecoveryTimer == nullptr) {
        RecoveryTimer = new QTimer(this);
        RecoveryTimer->setObjectName(QStringLiteral("RecoveryTimer"));
        RecoveryTimer->setInterval(kRecoveryIntervalMs);
        connect(RecoveryTimer, &QTimer::timeout, this, &MainWindow::writeRecovery);
    }
    RecoveryTimer->start();
}

QString MainWindow::recoveryFile() const {
    return recovery_ ? recovery_->path() : QString();
}

void MainWindow::writeRecovery() {
    if (!recovery_) {
        return;
    }
    // Only a session with something of the user's in it is worth restoring.
    if (session_.actionCount() == 0 && sceneFile_.isEmpty()) {
        recovery_->remove();
        return;
    }
    session::RecoveryContent content;
    // Absolute: restored from another working folder, the path must still name this file.
    content.file =
        sceneFile_.isEmpty() ? std::string()
                             : QFile::encodeName(QFileInfo(sceneFile_).absoluteFilePath())
                                   .toStdString();
    content.modified = session_.modified();
    content.scene = batch::writeScenario(session_.recording());
    if (const auto failure = recovery_->write(session::recoveryText(content))) {
        showNotice(QStringLiteral("Сеанс не сохраняется для восстановления: файл «%1» не "
                                  "записывается (%2). Сохраните сцену.")
                       .arg(QFile::decodeName(failure->path.c_str()),
                            writeFailureReason(*failure)));
    }
}

namespace {

// Why a recovery file cannot be restored, in Russian; empty when it can be read.
QString unreadable(const QString& path, session::RecoveryContent& content) {
    std::string text;
    switch (batch::readBoundedText(QFile::encodeName(path).toStdString(), text,
                                   kMaxRecoveryBytes)) {
        case batch::ReadProblem::None:
            break;
        case batch::ReadProblem::NotRegularFile:
            return QStringLiteral("это не файл");
        case batch::ReadProblem::TooLarge:
            return QStringLiteral("файл слишком велик");
        case batch::ReadProblem::CannotOpen:
        case batch::ReadProblem::CannotRead:
            return QStringLiteral("файл не читается");
    }
    std::string error;
    const auto read = session::readRecoveryText(text, error);
    if (!read) {
        return QStringLiteral("файл повреждён");
    }
    content = *read;
    return QString();
}

}  // namespace

bool MainWindow::offerRecovery() {
    if (!recovery_) {
        return false;
    }
    for (const LeftRecovery& left : leftRecoveries(stateDirectory_, recovery_->path())) {
        session::RecoveryContent content;
        const QString problem = unreadable(left.path, content);
        if (!problem.isEmpty()) {
            // Neither offered again nor lost: kept aside, and the user told where.
            const QString aside = keepAside(left.path);
            showError(QStringLiteral("Прошлый сеанс не восстановлен: %1 («%2»).\n\n%3")
                          .arg(problem, QFileInfo(left.path).fileName(),
                               aside.isEmpty()
                                   ? QStringLiteral("Файл оставлен на месте.")
                                   : QStringLiteral("Файл отложен как «%1».")
                                         .arg(QFileInfo(aside).fileName())));
            continue;
        }
        const QString original = QFile::decodeName(content.file.c_str());
        const QString where = original.isEmpty() ? QStringLiteral("новая сцена")
                                                 : "«" + QFileInfo(original).fileName() + "»";
        if (!askYesNo(QStringLiteral("Восстановить последний сеанс?\n\nПрограмма была закрыта "
                                     "аварийно; сеанс (%1) сохранён для восстановления.")
                          .arg(where),
                      QStringLiteral("Восстановить"))) {
            QFile::remove(left.path);
            continue;
        }
        batch::ScenarioError error;
        const std::string source = QFile::encodeName(left.path).toStdString();
        const auto scenario = batch::parseScenario(content.scene, source, error);
        if (!scenario || !session_.open(*scenario, source, error)) {
            showError(sceneErrorText(error));
            keepAside(left.path);
            continue;
        }
        sceneFile_ = original;
        session_.setModified(content.modified);
        updateTitle();
        setPaused(true);
        // The session is in this instance's own file before the old one goes.
        writeRecovery();
        if (QFileInfo::exists(recovery_->path()) ||
            (session_.actionCount() == 0 && sceneFile_.isEmpty())) {
            QFile::remove(left.path);
        }
        return true;
    }
    return false;
}

void MainWindow::rememberRecent(const QString& path) {
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

void MainWindow::fillRecentMenu() {
    RecentMenu->clear();
    for (int i = 0; i < recent_.size(); ++i) {
        const QString path = recent_[i];
        QAction* action = RecentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setStatusTip(path);
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (settleChanges()) {
                openScene(path);
            }
        });
    }
    RecentMenu->setEnabled(!recent_.isEmpty());
}

}  // namespace prrsim::ui
