#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

#include "session/session.h"
#include "ui/changes.h"
#include "ui/map_view.h"
#include "ui/scene_files.h"
#include "ui/time_controls.h"
#include "ui/ui_text.h"
#include "ui/view_state.h"
#include "world/world_observer.h"
#include "world/world_state.h"

namespace prrsim::ui {

class AddRadarDialog;
class AircraftPanel;
class MissileWindow;
class RadarPanel;
class ReviewWindows;
enum class ReviewObject;

// The main window "Наведение ПРР": the map, the aircraft panel and the radar panel on its
// right, the buttons and time controls under the map, the menus and the status bar, and the
// three timers that drive the simulation. A thin view over the world; it is the world's
// observer while it lives.
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

    // The timers' work, callable directly so that a test moves time itself: the simulation
    // ticks due at the speed, a redraw of the map and the windows, the impact text's next step.
    void runDueTicks();
    void redraw();
    void advanceImpactText();
    // Stops the timers: from then on only the caller moves time and draws.
    void stopTimers();
    // The map's click at map point (x, y), as a mouse click there.
    void clickMap(int x, int y);

    // Captions and map cursor from the world's four mode flags; first cancels a target-picking
    // mode that has nothing to act for.
    void updateModeIndicators();
    // Esc: cancels every armed one-shot map mode.
    void cancelArmedModes();

    // Shows a short notice to the user; replaceable so that tests need no blocking dialog.
    std::function<void(const QString&)> showNotice;

    // The recorded session of the world shown.
    session::Session& session() { return session_; }
    // The scene's files: opening, saving, recent files and the recovery file.
    SceneFiles& sceneFiles() { return *sceneFiles_; }
    // The review's windows and overlays.
    ReviewWindows& review() { return *review_; }

    // Every change a control makes to the world goes through the session, which records it.
    // Inside a refresh it is a write-back of what the panel shows.
    bool perform(const batch::Action& action);
    bool writeBack(const batch::Action& action);

    // Time. The speeds are those of the time controls.
    static constexpr int kSpeedCount = ui::kSpeedCount;
    static constexpr int kNormalSpeed = ui::kNormalSpeed;
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
    void updateStatus();        // status bar and time controls
    // Wall-clock milliseconds for the achieved speed; replaceable for tests.
    std::function<qint64()> wallClock;

    // What the next map click does while a mode is armed, with "Esc" to cancel; empty otherwise.
    QString modeHint() const;
    // Selects an object the review's log names, if it is still present.
    void selectReviewObject(ReviewObject object, int32_t number);

    const ImpactText& impactText() const { return impact_; }
    // The map's background: the landmarks, copied by every redraw.
    const QImage& background() const { return background_; }
    // What the windows select, arm and point at.
    ViewState& view() { return view_; }
    const ViewState& view() const { return view_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createMapArea();
    void createButtons();
    void createTimers();
    void createWindows();
    void createStatusBar();
    void connectTime();
    void connectScenes();
    // The components keep their places in a client area under the menu bar.
    void arrangeWindow();
    void startImpactText(int x, int y);
    void showMissileWindow();
    void openAddRadarDialog();
    void onRadarsAdded();
    void removeRadar();
    void addAircraft();
    void removeAircraft();
    void selectComplexMember();
    void mapMouseMoved(int x, int y);
    void mapClicked();
    // The steps of the map click.
    void selectNearest(int cx, int cy);
    void showRadarSelection();
    void showSelectionPanels();
    // The panels and the missile window show the world again (after a jump, a replayed action,
    // a refused change or another scene).
    void showWorldAgain();
    void redrawBackground();
    void noteAchievedSpeed();
    // Runs n ticks; the windows catch up with replayed actions once, after the last.
    void runSteps(int64_t n);
    void updateTitle();

    WorldState& world_;
    ViewState view_;
    TableLengths lengthsBeforeReplace_;
    session::Session session_;
    ImpactText impact_;
    MapLabels labels_;  // the map labels' pictures, kept between redraws
    QImage background_;
    bool writingBack_ = false;
    bool stepping_ = false;
    bool resyncDue_ = false;
    bool paused_ = false;
    int speed_ = kNormalSpeed;
    int owedQuarters_ = 0;  // quarter ticks due from timer events below x1
    // (wall ms, tick) samples of the last seconds, for the achieved speed.
    std::deque<std::pair<qint64, int64_t>> samples_;
    double achieved_ = 0;  // x, 0 while unknown

    MapView* mapView_ = nullptr;
    QPushButton* addRadarButton_ = nullptr;
    QPushButton* removeRadarButton_ = nullptr;
    QPushButton* addAircraftButton_ = nullptr;
    QPushButton* removeAircraftButton_ = nullptr;
    QListWidget* complexMemberList_ = nullptr;
    AircraftPanel* aircraftPanel_ = nullptr;
    RadarPanel* radarPanel_ = nullptr;
    AddRadarDialog* addRadarDialog_ = nullptr;
    MissileWindow* missileWindow_ = nullptr;
    QTimer* tickTimer_ = nullptr;
    QTimer* redrawTimer_ = nullptr;
    QTimer* impactTimer_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* hintLabel_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* speedLabel_ = nullptr;
    QLabel* pauseLabel_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    SceneFiles* sceneFiles_ = nullptr;
    TimeControls* timeControls_ = nullptr;
    ReviewWindows* review_ = nullptr;
};

}  // namespace prrsim::ui
