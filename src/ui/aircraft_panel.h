#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>

#include "ui/changes.h"
#include "ui/view_state.h"
#include "world/world_state.h"

namespace prrsim::ui {

class PictureBox;

// The aircraft panel "Самолёт": shows the selected aircraft and flies it (speed, climb, course,
// attack target and run) and loads missiles of the chosen type and launch mode on it.
class AircraftPanel : public QFrame {
    Q_OBJECT
  public:
    AircraftPanel(WorldState& world, ViewState& view, QWidget* parent);

    // How the user's changes reach the world, and how a refresh writes back what the panel
    // shows (whole-number speed, climb and course).
    Perform perform;
    Perform writeBack;

    // Every control from aircraft `n` (emptied when there is none); the periodic refresh leaves
    // what only the user changes.
    void refresh(int32_t n);
    void refreshPeriodic(int32_t n);
    // "Перенести" and "Выбрать" shown armed as the view's modes are.
    void showArmedModes();

    // The picture the course compass shows (for drawing checks).
    const QPixmap& compassImage() const { return compassImage_; }

  signals:
    // A control armed a map-click mode or changed the target: captions and cursor follow.
    void modesChanged();
    // A missile was loaded and selected; the missile window shows it.
    void missileLoaded();
    // Something the user asked for was not done, and why.
    void notice(const QString& text);

  private:
    void createControls();
    void createFlightControls();
    void createAttackControls();
    void setTips();
    void connectControls();
    void fillMissileTypes();
    void fillLaunchModes();
    bool record(const batch::Action& action);
    void setTexts(int32_t n, bool withSpeed);
    void setEnabling(int32_t n);
    void showAttackRun(bool onAttackRun);
    void showClimbFlown(double climbAngle);
    void drawCompass(int32_t n);

    void setCourseFromCompass();
    void setSpeed(int position);
    void setClimb(int position);
    void flyLevel();
    void armPickTarget();
    void clearTarget();
    void toggleAttackRun();
    void armMoveAircraft();
    void loadMissile();

    WorldState& world_;
    ViewState& view_;
    QPixmap compassImage_;
    bool writingBack_ = false;

    QLabel* titleLabel_ = nullptr;
    QLabel* numberLabel_ = nullptr;
    QLineEdit* xEdit_ = nullptr;
    QLineEdit* yEdit_ = nullptr;
    QPushButton* moveButton_ = nullptr;
    QLineEdit* altitudeEdit_ = nullptr;
    QLineEdit* speedEdit_ = nullptr;
    QSlider* speedSlider_ = nullptr;
    PictureBox* courseCompass_ = nullptr;
    QLineEdit* courseEdit_ = nullptr;
    QSlider* climbSlider_ = nullptr;
    QLineEdit* climbEdit_ = nullptr;
    QPushButton* levelButton_ = nullptr;
    QLabel* targetLabel_ = nullptr;
    QPushButton* pickTargetButton_ = nullptr;
    QPushButton* clearTargetButton_ = nullptr;
    QPushButton* attackRunButton_ = nullptr;
    QPushButton* addMissileButton_ = nullptr;
    QPushButton* launchButton_ = nullptr;
    QComboBox* missileTypeBox_ = nullptr;
    QComboBox* launchModeBox_ = nullptr;
};

}  // namespace prrsim::ui
