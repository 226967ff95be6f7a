#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "ui/changes.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The add-radar dialog "Добавить РЛС": creates one radar or every radar of a SAM complex; the
// next map click then places them.
class AddRadarDialog : public QWidget {
    Q_OBJECT
  public:
    AddRadarDialog(WorldState& world, QWidget* parent);

    // Handlers, named after the events that raise them.
    void FormActivate();              // the dialog became active: both lists reset
    void ComboBox1Change(int index);  // single radar chosen
    void ComboBox2Change(int index);  // SAM complex chosen
    void Button1Click();              // "OK"
    void Button2Click();              // "Отмена"

    // How OK adds the radars (applied directly unless the main window records).
    Perform perform;

    QLabel* Label2 = nullptr;        // "Отдельные РЛС"
    QComboBox* ComboBox1 = nullptr;  // single radars
    QLabel* Label1 = nullptr;        // "Платформы ЗРК"
    QComboBox* ComboBox2 = nullptr;  // SAM complexes
    QCheckBox* CheckBox1 = nullptr;  // "В рабочем состоянии"
    QPushButton* Button1 = nullptr;  // "OK"
    QPushButton* Button2 = nullptr;  // "Отмена"

  signals:
    // OK added radars at the end of the radar table.
    void radarsAdded();
    // The dialog closed (by OK, Cancel or the window's close button).
    void closed();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    WorldState& world_;
};

}  // namespace prrsim::ui
