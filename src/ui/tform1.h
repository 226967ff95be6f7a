#pragma once

#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ui/map_view.h"
#include "world/world_observer.h"
#include "world/world_state.h"

namespace prrsim::ui {

class PictureBox;
class RadarPanel;
class ReviewWindows;
enum class ReviewObject;
class TForm2;
class TForm3;

// The main window "Наведение ПРР": the map, the aircraft panel and the radar panel on its
// right, the buttons under the map and the three timers that drive the simulation. A thin view
// over the world; it is the world's observer while it lives.
class TForm1 : public QWidget, public WorldObserver {
    Q_OBJECT
  public:
    // The world must already hold its start-up contents (landmarks, default scenario).
    explicit TForm1(WorldState& world, QWidget* parent = nullptr);
    ~TForm1() override;

    // WorldObserver
    void radarPanelRefresh(int32_t row) override;
    void missileDetonated(const ImpactEvent& impact) override;
    void missileWindowHide() override;

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

    // After-action review (review_windows.cpp): the event store, "Журнал", "Разбор", the map
    // overlays and the menu "Вид". Selects an object the log names, if it is still present.
    ReviewWindows* Review = nullptr;
    void selectReviewObject(ReviewObject object, int32_t number);

    const ImpactText& impactText() const { return impact_; }
    const QPixmap& compassImage() const { return compassImage_; }

    // Components, named as the window's design names them (also their object names).
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
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;

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

  private:
    void createMainComponents();
    void createAircraftPanel();
    void connectAircraftPanel();
    void startImpactText(int x, int y);
    void fillLaunchModeList();
    void setAircraftPanelTexts(int32_t n, bool withSpeed);
    void setAircraftPanelEnabling(int32_t n);
    void showAttackRun(bool onAttackRun);
    void showMissileWindow();
    void onRadarsAdded();
    void onForm2Closed();
    // The steps of the map click.
    void selectNearest(int cx, int cy);
    void showRadarSelection();
    void showSelectionPanels();

    WorldState& world_;
    ImpactText impact_;
    QPixmap compassImage_;
};

// Emphasis of an armed mode's button: bold and underlined caption.
void setArmed(QPushButton* button, bool armed);
bool isArmed(const QPushButton* button);

}  // namespace prrsim::ui
