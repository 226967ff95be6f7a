#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <vector>

#include "ui/changes.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The add-radar dialog "Добавить РЛС": creates one radar or every radar of a SAM complex; the
// next map click then places them.
class AddRadarDialog : public QWidget {
    Q_OBJECT
  public:
    AddRadarDialog(WorldState& world, QWidget* parent);

    // Both lists back at "---", filled from the catalogue; the dialog does it whenever it
    // becomes active.
    void resetChoices();

    // How OK adds the radars (applied directly unless the main window records).
    Perform perform;

  signals:
    // OK added radars at the end of the radar table.
    void radarsAdded();
    // The dialog closed (by OK, Cancel or the window's close button).
    void closed();
    // OK added the radars `rows` with "Задать реакцию расчёта на ПРР…" checked: one reaction
    // is to be given to them all.
    void reactionWanted(const std::vector<int32_t>& rows);

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void singleRadarChosen(int index);
    void complexChosen(int index);
    void addChosen();  // "OK"
    void cancel();     // "Отмена"

    WorldState& world_;
    QLabel* singleRadarCaption_ = nullptr;
    QComboBox* singleRadarBox_ = nullptr;
    QLabel* complexCaption_ = nullptr;
    QComboBox* complexBox_ = nullptr;
    QCheckBox* workingBox_ = nullptr;
    QCheckBox* reactionBox_ = nullptr;  // "Задать реакцию расчёта на ПРР…" after OK
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace prrsim::ui
