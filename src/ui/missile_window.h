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

    void Button1Click();  // "Активировать ракету"
    void Button2Click();  // "Захват цели" / "Отменить захват" / "Ввод данных"
    void Button3Click();                 // "ПУСК"
    void TrackBar1Change(int position);  // seeker switch-on distance

    QLabel* Label19 = nullptr;        // "Режим"
    QLabel* Label20 = nullptr;        // launch mode name
    QPushButton* Button1 = nullptr;   // "Активировать ракету"
    QPushButton* Button2 = nullptr;   // "Захват цели"
    QPushButton* Button3 = nullptr;   // "ПУСК"
    QLabel* Label2 = nullptr;         // "Активирована"
    QLabel* Label1 = nullptr;         // "Захват"
    QLabel* Label10 = nullptr;        // "Ракета пущена"
    QLabel* Label11 = nullptr;        // "Сигнал"
    QLabel* Label14 = nullptr;        // capture or loss timer
    QLabel* Label16 = nullptr;        // "ПОИСК"
    QLabel* Image1 = nullptr;         // seeker picture
    QListWidget* ListBox1 = nullptr;  // received radars
    QLabel* Label12 = nullptr;        // "Целей"
    QLabel* Label13 = nullptr;        // received radar count
    QLabel* Label24 = nullptr;        // "Объектов"
    QLabel* Label25 = nullptr;        // received reflection count
    QGroupBox* GroupBox2 = nullptr;   // "Параметры цели"
    QLabel* Label18 = nullptr;        // "РЛС"
    QLineEdit* Edit8 = nullptr;       // identified radar type
    QLabel* Label21 = nullptr;        // "ЧПИ"
    QLabel* Label22 = nullptr;        // "tи"
    QLabel* Label23 = nullptr;        // "Частота"
    QLabel* Label32 = nullptr;        // emission kind
    QLabel* Label30 = nullptr;        // "Наведение"
    QLabel* Label26 = nullptr;        // target data source
    QLabel* Label33 = nullptr;        // frequency search
    QLabel* Label27 = nullptr;        // "Расстояние для включения ГСН"
    QSlider* TrackBar1 = nullptr;     // seeker switch-on distance
    QLabel* Label28 = nullptr;        // switch-on distance value
    QGroupBox* GroupBox1 = nullptr;   // "Движение ракеты"
    QLabel* Label3 = nullptr;         // "Курс"
    QLabel* Label9 = nullptr;         // (never written)
    QLabel* Label4 = nullptr;         // "Скорость"
    QLineEdit* Edit1 = nullptr;       // speed
    QLabel* Image2 = nullptr;         // compass
    QLabel* Label5 = nullptr;         // "Координаты"
    QLabel* Label8 = nullptr;         // "Высота"
    QLabel* Label6 = nullptr;         // "X"
    QLabel* Label7 = nullptr;         // "Y"
    QLineEdit* Edit2 = nullptr;       // x
    QLineEdit* Edit3 = nullptr;       // y
    QLineEdit* Edit4 = nullptr;       // altitude
    QLineEdit* Edit5 = nullptr;       // insX
    QLineEdit* Edit6 = nullptr;       // insY
    QLineEdit* Edit7 = nullptr;       // insAltitude
    QLabel* Label15 = nullptr;        // "Топливо"
    QProgressBar* ProgressBar1 = nullptr;  // fuel
    QLabel* Label29 = nullptr;             // "Питание"
    QProgressBar* ProgressBar2 = nullptr;  // power
    QLabel* Label31 = nullptr;             // "Траектория"
    QLabel* Label17 = nullptr;             // trajectory mode
    QLabel* captureHindranceLabel = nullptr;  // why a capture finds nothing

  private:
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
};

}  // namespace prrsim::ui
