#pragma once

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

#include "ui/changes.h"
#include "ui/map_view.h"
#include "session/session.h"
#include "ui/recovery_file.h"
#include "ui/ui_text.h"
#include "ui/view_state.h"
#include "world/world_observer.h"
#include "world/world_state.h"

namespace prrsim::ui {

class PictureBox;
class RadarPanel;
class ReviewWindows;
enum class ReviewObject;
class AddRadarDialog;
class MissileWindow;

// The main window "Наведение ПРР": the map, the aircraft panel and the radar panel on its
// right, the buttons under the map and the three timers that drive the simulation. A thin view
// over the world; it is the world's observer while it lives.
class MainWindow : public QMainWindow, public WorldObserver {
    Q_OBJECT
  public:
    // The world must already hold its start-up contents (landmarks, default scenario).
    explicit MainWindow(WorldState& world, QWidget* parent = nullptr);
    ~MainWindow() override;

    // WorldObserver
    void radarPanelRefresh(int32_t row) override;
    void missileDetonated(const ImpactEvent& impact) override;
    void missileRemoved(int32_t row) override;

    // Main window and map handlers.
    void FormCreate();                   // create event: missile lists
    void Timer1Timer();                  // simulation tick
    void Timer2Timer();                  // map redraw
    void Timer3Timer();                  // impact text
    void Image1MouseMove(int x, int y);  // map mouse position
    void Image1Click();                  // map click
    void Button12Click();                // "Добавить РЛС"
    void Button13Click();                // "Убрать РЛС"
    void Button14Click();                // "Добавить самолёт"
    void Button15Click();                // "Убрать самолёт"
    void ListBox2Click();                // member radars of a SAM complex

    // Aircraft panel handlers.
    void Image2MouseMove(int x, int y);  // compass mouse position
    void Image2Click();                  // compass: course
    void TrackBar1Change(int position);  // speed
    void TrackBar2Change(int position);  // climb angle
    void Button2Click();                 // "0"
    void Button3Click();                 // "Выбрать"
    void Button1Click();                 // "Очистить"
    void Button4Click();                 // "На боевой" / "Уйти с боевого"
    void Button6Click();                 // "Перенести"
    void Button16Click();                // "Добавить ПРР"
    void ComboBox1Change();              // missile type

    // Aircraft panel refreshes for aircraft n.
    void refreshAircraftPanel(int32_t n);
    void refreshAircraftPanelPeriodic(int32_t n);
    void drawCompass(int32_t n);

    // Captions and map cursor from the world's four mode flags; first cancels a target-picking
    // mode that has nothing to act for.
    void updateModeIndicators();

    // Esc: cancels every armed one-shot map mode.
    void cancelArmedModes();

    // Shows a short notice to the user; replaceable so that tests need no blocking dialog.
    std::function<void(const QString&)> showNotice;

    // The recorded session of the world shown.
    session::Session& session() { return session_; }

    // Every change a control makes to the world goes through the session, which records it.
    // Inside a refresh it is a write-back of what the panel shows.
    bool perform(const batch::Action& action);
    bool writeBack(const batch::Action& action);

    // Time control (time_control.cpp). The speeds run from x1/4 to x64; each runs that many
    // ticks per Timer1 event (below x1, one tick every 2 or 4 events).
    static constexpr int kSpeedCount = 9;
    static constexpr int kNormalSpeed = 2;
    // Quarter ticks per Timer1 event at each speed.
    static constexpr int kQuarterTicks[kSpeedCount] = {1, 2, 4, 8, 16, 32, 64, 128, 256};
    void setPaused(bool paused);
    bool paused() const { return paused_; }
    void togglePause();         // "Пауза" / "Продолжить", Space
    void stepTicks(int64_t n);  // "Такт", "1 с" while paused
    void setSpeed(int index);   // 0 .. kSpeedCount - 1
    int speed() const { return speed_; }
    void faster();              // "+"
    void slower();              // "-"
    void jumpTo(int64_t tick);  // the timeline
    void restart();             // "Заново": tick 0 of the scene
    void updateStatus();        // status bar and timeline
    // Wall-clock milliseconds for the achieved speed; replaceable for tests.
    std::function<qint64()> wallClock;

    // Scene files (scene_files.cpp).
    void newScene(batch::StartWorld start, uint32_t seed = session::kSceneSeed);  // "Новая", "Пустая"
    bool openScene(const QString& path);  // runs it to its last tick, paused; errors shown
    bool saveScene(const QString& path);  // a temporary file renamed over the old one
    bool save();                          // "Сохранить": the scene's file, or asks for one
    bool saveAs();                        // "Сохранить как…"
    void openChosen();                    // "Открыть…"
    // Asks "Сохранить изменения?" while there are unsaved changes; false when cancelled.
    bool settleChanges();
    const QString& sceneFile() const { return sceneFile_; }
    // The folder of the recovery file and the recent-files list; without one neither is kept.
    void setStateDirectory(const QString& directory);
    QString recoveryFile() const;
    void writeRecovery();  // the session into the recovery file, if it changed
    // At start: offers the session a crash left behind. Returns whether it was restored.
    bool offerRecovery();
    const QStringList& recentFiles() const { return recent_; }

    // Prompts; replaceable so that tests need no blocking dialog.
    enum class SaveAnswer { Save, Discard, Cancel };
    std::function<SaveAnswer(const QString& question)> askSave;
    std::function<bool(const QString& question, const QString& yes)> askYesNo;
    std::function<QString()> askOpenFile;
    std::function<QString(const QString& suggested)> askSaveFile;
    std::function<void(const QString& text)> showError;

    // What the next map click does while a mode is armed, with "Esc" to cancel; empty otherwise.
    QString modeHint() const;
    // After-action review (review_windows.cpp): the event store, "Журнал", "Разбор", the map
    // overlays and the menu "Вид". Selects an object the log names, if it is still present.
    ReviewWindows* Review = nullptr;
    void selectReviewObject(ReviewObject object, int32_t number);

    const ImpactText& impactText() const { return impact_; }
    const QPixmap& compassImage() const { return compassImage_; }
    // What the windows select, arm and point at.
    ViewState& view() { return view_; }
    const ViewState& view() const { return view_; }

    // Components, under their long-standing names (also their object names).
    MapView* Image1 = nullptr;
    QImage Image3;  // the background copy of the map
    QPushButton* Button12 = nullptr;
    QPushButton* Button13 = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
    QListWidget* ListBox2 = nullptr;
    RadarPanel* Panel2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    AddRadarDialog* Form2 = nullptr;
    MissileWindow* Form3 = nullptr;

    // The aircraft panel.
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;  // "Самолёт"
    QLabel* Label7 = nullptr;  // aircraft index
    QLabel* Label2 = nullptr;  // "X"
    QLineEdit* Edit1 = nullptr;
    QLabel* Label3 = nullptr;  // "Y"
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button6 = nullptr;  // "Перенести"
    QLabel* Label4 = nullptr;        // "Высота"
    QLineEdit* Edit3 = nullptr;
    QLabel* Label5 = nullptr;  // "Скорость"
    QLineEdit* Edit4 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label6 = nullptr;  // "Курс"
    PictureBox* Image2 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLabel* Label9 = nullptr;  // "Подъём"
    QSlider* TrackBar2 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QPushButton* Button2 = nullptr;   // "0"
    QLabel* Label8 = nullptr;         // "Атака цели"
    QLabel* Label10 = nullptr;        // attack target
    QPushButton* Button3 = nullptr;   // "Выбрать"
    QPushButton* Button1 = nullptr;   // "Очистить"
    QPushButton* Button4 = nullptr;   // "На боевой"
    QPushButton* Button16 = nullptr;  // "Добавить ПРР"
    QPushButton* Button11 = nullptr;  // "ПУСК!!!"
    QComboBox* ComboBox1 = nullptr;   // missile types
    QComboBox* ComboBox2 = nullptr;   // launch modes

    // Menus, time controls under the map, status bar.
    QMenuBar* MenuBar = nullptr;
    QMenu* SceneMenu = nullptr;   // "Сцена"
    QMenu* RecentMenu = nullptr;  // "Недавние"
    QMenu* TimeMenu = nullptr;    // "Время"
    QAction* NewAction = nullptr;
    QAction* EmptyAction = nullptr;
    QAction* OpenAction = nullptr;
    QAction* SaveAction = nullptr;
    QAction* SaveAsAction = nullptr;
    QAction* ExitAction = nullptr;
    QAction* PauseAction = nullptr;
    QAction* StepTickAction = nullptr;
    QAction* StepSecondAction = nullptr;
    QAction* FasterAction = nullptr;
    QAction* SlowerAction = nullptr;
    QAction* RestartAction = nullptr;
    QSlider* Timeline = nullptr;
    QLabel* LengthLabel = nullptr;
    QPushButton* PauseButton = nullptr;
    QPushButton* StepTickButton = nullptr;
    QPushButton* StepSecondButton = nullptr;
    QPushButton* SlowerButton = nullptr;
    QLabel* SpeedButtonLabel = nullptr;
    QPushButton* FasterButton = nullptr;
    QPushButton* RestartButton = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* HintLabel = nullptr;
    QLabel* TimeLabel = nullptr;
    QLabel* SpeedLabel = nullptr;
    QLabel* PauseLabel = nullptr;
    QLabel* FileLabel = nullptr;
    QTimer* RecoveryTimer = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createMainComponents();
    void createAircraftPanel();
    void connectAircraftPanel();
    void startImpactText(int x, int y);
    void fillLaunchModeList();
    void setAircraftPanelTexts(int32_t n, bool withSpeed);
    void setAircraftPanelEnabling(int32_t n);
    void showAttackRun(bool onAttackRun);
    void showClimbFlown(double climbAngle);
    void showMissileWindow();
    void onRadarsAdded();
    void onForm2Closed();
    // The steps of the map click.
    void selectNearest(int cx, int cy);
    void showRadarSelection();
    void showSelectionPanels();
    // Time controls, menus and the status bar; the components above move into a client area
    // under the menu bar.
    void createTimeControls();
    void createMenus();
    void createStatusBar();
    void arrangeWindow();
    // The panels and the missile window show the world again (after a jump, a replayed action,
    // a refused change or another scene).
    void showWorldAgain();
    void redrawBackground();
    void noteAchievedSpeed();
    // Runs n ticks; the windows catch up with replayed actions once, after the last.
    void runSteps(int64_t n);
    void updateTitle();
    void rememberRecent(const QString& path);
    void fillRecentMenu();
    bool confirmDrop(int64_t tick);

    WorldState& world_;
    ViewState view_;
    TableLengths lengthsBeforeReplace_;
    session::Session session_;
    ImpactText impact_;
    MapLabels labels_;  // the map labels' pictures, kept between redraws
    QPixmap compassImage_;
    bool writingBack_ = false;
    bool stepping_ = false;
    bool resyncDue_ = false;
    bool paused_ = false;
    int speed_ = kNormalSpeed;
    int owedQuarters_ = 0;  // quarter ticks due from Timer1 events below x1
    // (wall ms, tick) samples of the last seconds, for the achieved speed.
    std::deque<std::pair<qint64, int64_t>> samples_;
    double achieved_ = 0;  // x, 0 while unknown
    int modal_ = 0;        // a prompt is open: the timers wait
    QString sceneFile_;
    QString stateDirectory_;
    QStringList recent_;
    std::unique_ptr<RecoveryFile> recovery_;  // this instance's, once there is a state folder
};

// The simulated time of `tick` as ч:мм:сс.сс.

// A speed as shown: "×¼", "×½", "×1" … "×64".
QString speedName(int index);

// Emphasis of an armed mode's button: bold and underlined caption.
void setArmed(QPushButton* button, bool armed);
bool isArmed(const QPushButton* button);

}  // namespace prrsim::ui
