#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>

#include "ui/changes.h"
#include "ui/controls.h"
#include "ui/picture_box.h"
#include "ui/reaction_controls.h"
#include "ui/view_state.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The radar panel: shows the selected radar and is the user's only way to change a radar.
class RadarPanel : public QFrame {
    Q_OBJECT
  public:
    RadarPanel(WorldState& world, ViewState& view, QWidget* parent);

    // Fills the panel from radar `row`; the compass and "Подсвет" show the selected radar.
    // Setting the controls never runs their handlers.
    void refresh(int row);

    // How the handlers change the radar (applied directly unless the main window records).
    Perform perform;

    // "Перенести" and "Захват" shown armed as the view's modes are.
    void showArmedModes();

    // The picture currently shown by the compass (for drawing checks).
    const QPixmap& compassImage() const { return compassImage_; }

    // "Реакция на ПРР" for `rows` (e.g. the radars just added): one setReaction each.
    void openReactionFor(const std::vector<int32_t>& rows);

  signals:
    // A handler changed a map-click mode; the main window updates captions and cursor.
    void modesChanged();

  private:
    // The user's actions.
    void switchEmission();
    void switchRotation();
    void setBlink(int index);
    void setAntennaFromCompass();
    void compassMouseMoved(int x, int y);
    void setScanMethod(int index);
    void chooseFrequencyHop(int index);
    void setFrequency(int position);
    void setEmissionMode(int index);
    void switchPrfWobble();
    void switchKeepScan();
    void switchIllumination();
    void armMoveRadar();
    void armCapture();
    void dropTrack();
    void dropAllTracks();
    // "Реакция на ПРР": opens the selected radar's reaction.
    void openReaction();

    void createControls();
    void connectHandlers();
    void createReactionControls();
    // Runs refresh for the selected radar, if there is one.
    void refreshSelected();
    RadarSite* selected();
    void showCompassLine(double angle);

    WorldState& world_;
    ViewState& view_;
    QPixmap compassImage_;

    QLabel* radarTitleLabel_ = nullptr;
    QPushButton* moveRadarButton_ = nullptr;
    QLabel* typeLabel_ = nullptr;
    QLabel* radarXCaption_ = nullptr;
    QLineEdit* radarXEdit_ = nullptr;
    QLabel* radarYCaption_ = nullptr;
    QLineEdit* radarYEdit_ = nullptr;
    QCheckBox* emissionBox_ = nullptr;
    QCheckBox* rotationBox_ = nullptr;
    QLabel* signalLabel_ = nullptr;
    QLabel* blinkCaption_ = nullptr;
    QComboBox* blinkBox_ = nullptr;
    PictureBox* antennaCompass_ = nullptr;
    QLabel* antennaCaption_ = nullptr;
    QLabel* antennaCaptionEnd_ = nullptr;
    QLabel* antennaDirectionLabel_ = nullptr;
    QLabel* scanCaption_ = nullptr;
    QComboBox* scanMethodBox_ = nullptr;
    QLabel* frequencyHopCaption_ = nullptr;
    QComboBox* frequencyHopBox_ = nullptr;
    QLabel* frequencyCaption_ = nullptr;
    QLineEdit* frequencyPercentEdit_ = nullptr;
    QLineEdit* frequencyEdit_ = nullptr;
    QLabel* megahertzLabel_ = nullptr;
    QSlider* frequencySlider_ = nullptr;
    QLabel* emissionModeCaption_ = nullptr;
    ElidingComboBox* emissionModeBox_ = nullptr;
    QCheckBox* prfWobbleBox_ = nullptr;
    QLabel* trackingCaption_ = nullptr;
    QCheckBox* keepScanBox_ = nullptr;
    QListWidget* trackList_ = nullptr;
    QCheckBox* illuminationBox_ = nullptr;
    QPushButton* captureButton_ = nullptr;
    QPushButton* dropTrackButton_ = nullptr;
    QPushButton* dropAllTracksButton_ = nullptr;
    QPushButton* reactionButton_ = nullptr;
    ReactionControls* reactionControls_ = nullptr;
};

}  // namespace prrsim::ui
