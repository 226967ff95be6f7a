#pragma once

#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "scenario/scenario.h"
#include "session/session.h"
#include "ui/recovery_file.h"

namespace prrsim::ui {

// The scene files of the main window: the menu "Сцена" (new, empty, open, save, recent files,
// exit), the questions before unsaved changes are lost and the recovery file that keeps the
// session against a crash.
class SceneFiles : public QObject {
    Q_OBJECT
  public:
    // The menu is added to `menuBar`; the prompts open over `window`.
    SceneFiles(session::Session& session, QWidget* window, QMenuBar* menuBar);

    void newScene(batch::StartWorld start,
                  uint32_t seed = session::kSceneSeed);  // "Новая", "Пустая"
    bool openScene(const QString& path);  // runs it to its last tick, paused; errors shown
    bool saveScene(const QString& path);  // a temporary file renamed over the old one
    bool save();                          // "Сохранить": the scene's file, or asks for one
    bool saveAs();                        // "Сохранить как…"
    void openChosen();                    // "Открыть…"
    // Asks "Сохранить изменения?" while there are unsaved changes; false when cancelled.
    bool settleChanges();
    // The window may close: changes settled, the recovery file is no longer needed.
    bool settleForClose();
    // Asks before the actions after `tick` are dropped from the recording.
    bool confirmDrop(int64_t tick);
    const QString& sceneFile() const { return sceneFile_; }

    // The folder of the recovery file and the recent-files list; without one neither is kept.
    void setStateDirectory(const QString& directory);
    QString recoveryFile() const;
    void writeRecovery();  // the session into the recovery file, if it changed
    // At start: offers the session a crash left behind. Returns whether it was restored.
    bool offerRecovery();
    const QStringList& recentFiles() const { return recent_; }

    // A prompt is open: the timers wait.
    bool prompting() const { return modal_ > 0; }

    // Prompts; replaceable so that tests need no blocking dialog.
    enum class SaveAnswer { Save, Discard, Cancel };
    std::function<SaveAnswer(const QString& question)> askSave;
    std::function<bool(const QString& question, const QString& yes)> askYesNo;
    std::function<QString()> askOpenFile;
    std::function<QString(const QString& suggested)> askSaveFile;
    std::function<void(const QString& text)> showError;
    // Opening a scene that takes longer than this shows its progress and can be given up.
    int progressAfterMs = 500;

  signals:
    // Another scene is about to be shown: what belongs to the old one goes.
    void sceneChanging();
    // Another scene is shown; `pause` when it is to wait for the user.
    void sceneReplaced(bool pause);
    // The scene's file or its saved state changed.
    void fileChanged();
    // Something went wrong that the user should know, without stopping.
    void notice(const QString& text);

  private:
    void createMenu(QMenuBar* menuBar);
    void refuseOpening(const QString& name, const batch::ScenarioError& error);
    void createPrompts();
    bool restore(const QString& path);
    void rememberRecent(const QString& path);
    void fillRecentMenu();

    session::Session& session_;
    QWidget* window_;
    QMenu* recentMenu_ = nullptr;
    int modal_ = 0;
    QString sceneFile_;
    QString stateDirectory_;
    QStringList recent_;
    std::unique_ptr<RecoveryFile> recovery_;  // this instance's, once there is a state folder
    QTimer* recoveryTimer_ = nullptr;
};

}  // namespace prrsim::ui
