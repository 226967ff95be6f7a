#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QWidget>

#include "catalog/missile_catalog.h"
#include "ui/changes.h"
#include "ui/view_state.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The missile window: shows the selected missile and holds the buttons that activate, capture
// and launch it.
class MissileWindow : public QWidget {
    Q_OBJECT
  public:
    MissileWindow(WorldState& world, ViewState& view, QWidget* parent);

    // Rewrites every control from the selected missile (nothing when none is selected).
    void refreshMissileWindow();

    // The pictures currently shown (for drawing checks).
    const QPixmap& seekerImage() const { return seekerImage_; }
    const QPixmap& compassImage() const { return compassImage_; }

    // How the handlers change the missile (applied directly unless the main window records).
    Perform perform;

    // The missile of the last refresh, which the handlers act on (-1 before the first).
    int32_t shownMissile() const { return shownMissile_; }
    int32_t designatedRadar() const { return designatedRadar_; }

  private:
    void activate();  // "Активировать ракету"
    void captureOrEnterData();  // "Захват цели" / "Отменить захват" / "Ввод данных"
    void launch();  // "ПУСК"
    void setSeekerRange(int position);

    void createControls();
    void createTargetParameters();
    void createFlightData();
    void showIndicators(const Missile& m);
    void showTargetParameters(const Missile& m, const MissileType& t);
    void showFlightData(const Missile& m, const MissileType& t, const LaunchMode& l);
    void drawSeekerPicture(const Missile& m, const MissileType& t);
    void drawCompass(const Missile& m);
    void showCaptureHindrance(const Missile& m);

    WorldState& world_;
    ViewState& view_;
    QPixmap seekerImage_;
    QPixmap compassImage_;
    int32_t shownMissile_ = -1;
    const MissileType* shownType_ = nullptr;
    const LaunchMode* shownLaunchMode_ = nullptr;
    int32_t designatedRadar_ = -1;
    // Since when (tick) the shown capture, of the missile numbered so, has heard nothing.
    int64_t silentSince_ = -1;
    int32_t silentMissile_ = 0;

    QLabel* modeCaption_ = nullptr;
    QLabel* launchModeLabel_ = nullptr;
    QPushButton* activateButton_ = nullptr;
    QPushButton* seekerCaptureButton_ = nullptr;
    QPushButton* missileLaunchButton_ = nullptr;
    QLabel* activatedIndicator_ = nullptr;
    QLabel* captureIndicator_ = nullptr;
    QLabel* launchedIndicator_ = nullptr;
    QLabel* signalIndicator_ = nullptr;
    QLabel* captureTimeLabel_ = nullptr;
    QLabel* searchLabel_ = nullptr;
    QLabel* seekerPicture_ = nullptr;
    QListWidget* receivedList_ = nullptr;
    QLabel* targetsCaption_ = nullptr;
    QLabel* targetCountLabel_ = nullptr;
    QLabel* objectsCaption_ = nullptr;
    QLabel* objectCountLabel_ = nullptr;
    QGroupBox* targetGroup_ = nullptr;
    QLabel* targetRadarCaption_ = nullptr;
    QLineEdit* targetRadarEdit_ = nullptr;
    QLabel* prfLabel_ = nullptr;
    QLabel* pulseLabel_ = nullptr;
    QLabel* targetFrequencyLabel_ = nullptr;
    QLabel* emissionKindLabel_ = nullptr;
    QLabel* guidanceCaption_ = nullptr;
    QLabel* guidanceSourceLabel_ = nullptr;
    QLabel* frequencySearchLabel_ = nullptr;
    QLabel* seekerRangeCaption_ = nullptr;
    QSlider* seekerRangeSlider_ = nullptr;
    QLabel* seekerRangeLabel_ = nullptr;
    QGroupBox* motionGroup_ = nullptr;
    QLabel* missileCourseCaption_ = nullptr;
    QLabel* missileCourseLabel_ = nullptr;
    QLabel* missileSpeedCaption_ = nullptr;
    QLineEdit* missileSpeedEdit_ = nullptr;
    QLabel* missileCompass_ = nullptr;
    QLabel* coordinatesCaption_ = nullptr;
    QLabel* missileAltitudeCaption_ = nullptr;
    QLabel* missileXCaption_ = nullptr;
    QLabel* missileYCaption_ = nullptr;
    QLineEdit* missileXEdit_ = nullptr;
    QLineEdit* missileYEdit_ = nullptr;
    QLineEdit* missileAltitudeEdit_ = nullptr;
    QLineEdit* inertialXEdit_ = nullptr;
    QLineEdit* inertialYEdit_ = nullptr;
    QLineEdit* inertialAltitudeEdit_ = nullptr;
    QLabel* fuelCaption_ = nullptr;
    QProgressBar* fuelBar_ = nullptr;
    QLabel* powerCaption_ = nullptr;
    QProgressBar* powerBar_ = nullptr;
    QLabel* trajectoryCaption_ = nullptr;
    QLabel* trajectoryLabel_ = nullptr;
    QLabel* captureHindranceLabel_ = nullptr;
};

}  // namespace prrsim::ui
