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
#include "ui/view_state.h"
#include "world/world_state.h"
#include "ui/picture_box.h"
#include "ui/reaction_controls.h"
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

    // Handlers of the user's actions, named after the controls that raise them.
    void CheckBox1Click();               // "Излучение"
    void CheckBox2Click();               // "Вращение"
    void ComboBox3Change(int index);     // "Мерцание"
    void Image4Click();                  // antenna-direction compass
    void Image4MouseMove(int x, int y);  // compass mouse position
    void ComboBox7Change(int index);     // "Методы обзора"
    void ComboBox4Change(int index);     // "Автоперестройка частоты"
    void TrackBar3Change(int position);  // frequency track bar
    void ComboBox5Change(int index);     // "Сигнал"
    void CheckBox3Click();               // "Режим вобуляции ЧПИ"
    void CheckBox4Click();               // "Сохранять обзор"
    void CheckBox5Click();               // "Подсвет"
    void Button7Click();                 // "Перенести"
    void Button8Click();                 // "Захват"
    void Button9Click();                 // "Сброс"
    void Button5Click();                 // "Сброс всего"

    QLabel* Label13 = nullptr;        // "РЛС"
    QPushButton* Button7 = nullptr;   // "Перенести"
    QLabel* Label23 = nullptr;        // type name
    QLabel* Label11 = nullptr;        // "X"
    QLineEdit* Edit7 = nullptr;       // x
    QLabel* Label12 = nullptr;        // "Y"
    QLineEdit* Edit8 = nullptr;       // y
    QCheckBox* CheckBox1 = nullptr;   // "Излучение"
    QCheckBox* CheckBox2 = nullptr;   // "Вращение"
    QLabel* Label26 = nullptr;        // "сигнал"
    QLabel* Label14 = nullptr;        // "Мерцание"
    QComboBox* ComboBox3 = nullptr;   // blink setting
    PictureBox* Image4 = nullptr;     // compass
    QLabel* Label22 = nullptr;        // "Направление"
    QLabel* Label24 = nullptr;        // "антенны"
    QLabel* Label21 = nullptr;        // antenna direction
    QLabel* Label25 = nullptr;        // "Методы обзора"
    QComboBox* ComboBox7 = nullptr;   // scan method
    QLabel* Label15 = nullptr;        // "Автоперестройка частоты"
    QComboBox* ComboBox4 = nullptr;   // (no items)
    QLabel* Label16 = nullptr;        // "Частота"
    QLineEdit* Edit9 = nullptr;       // frequency percent
    QLineEdit* Edit10 = nullptr;      // frequency, MHz
    QLabel* Label18 = nullptr;        // "МГц"
    QSlider* TrackBar3 = nullptr;     // frequency percent 0..100
    QLabel* Label17 = nullptr;        // "Сигнал"
    ElidingComboBox* ComboBox5 = nullptr;  // emission mode
    QCheckBox* CheckBox3 = nullptr;   // "Режим вобуляции ЧПИ"
    QLabel* Label20 = nullptr;        // "Сопровождение целей"
    QCheckBox* CheckBox4 = nullptr;   // "Сохранять обзор"
    QListWidget* ListBox1 = nullptr;  // tracked aircraft
    QCheckBox* CheckBox5 = nullptr;   // "Подсвет"
    QPushButton* Button8 = nullptr;   // "Захват"
    QPushButton* Button9 = nullptr;   // "Сброс"
    QPushButton* Button5 = nullptr;   // "Сброс всего"

    // "Реакция на ПРР": the button opens the selected radar's reaction.
    void reactionButtonClick();
    QPushButton* reactionButton = nullptr;
    ReactionControls* reactionControls = nullptr;

  signals:
    // A handler changed a map-click mode; the main window updates captions and cursor.
    void modesChanged();

  private:
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
};

}  // namespace prrsim::ui
