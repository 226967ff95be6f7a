#include "ui/add_radar_dialog.h"

#include <QCloseEvent>
#include <QEvent>

#include "catalog/radar_catalog.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/ui_text.h"
#include "world/world.h"

namespace prrsim::ui {

namespace {

const QString kNoChoice = QStringLiteral("---");

}  // namespace

AddRadarDialog::AddRadarDialog(WorldState& world, QWidget* parent)
    : QWidget(parent, Qt::Tool), perform(applyDirectly(world)), world_(world) {
    setObjectName(QStringLiteral("addRadarDialog"));
    setWindowTitle(QStringLiteral("Добавить РЛС"));
    setFont(formFont());
    setFixedSize(358, 150);

    singleRadarCaption_ =
        makeLabel("singleRadarCaption", QStringLiteral("Отдельные РЛС"), 8, 6, this);
    singleRadarBox_ = makeControl<QComboBox>("singleRadarBox", {8, 22, 249, 21}, this);

    complexCaption_ = makeLabel("complexCaption", QStringLiteral("Платформы ЗРК"), 8, 50, this);
    complexBox_ = makeControl<QComboBox>("complexBox", {8, 66, 249, 21}, this);

    workingBox_ = makeControl<QCheckBox>("workingBox", {8, 100, 200, 17}, this);
    workingBox_->setText(QStringLiteral("В рабочем состоянии"));
    workingBox_->setChecked(true);

    reactionBox_ = makeControl<QCheckBox>("newRadarsReactionBox", {8, 122, 340, 17}, this);
    reactionBox_->setText(QStringLiteral("Задать реакцию расчёта на ПРР…"));

    okButton_ = makeButton("okButton", QStringLiteral("OK"), {272, 22, 75, 25}, this);
    cancelButton_ = makeButton("cancelButton", QStringLiteral("Отмена"), {272, 62, 75, 25}, this);
    setTips({
        {singleRadarBox_, QStringLiteral("Отдельная РЛС: тип из каталога")},
        {complexBox_, QStringLiteral("Платформа ЗРК: все РЛС комплекса в одном месте")},
        {workingBox_, QStringLiteral("Новые РЛС сразу излучают и вращают антенну")},
        {reactionBox_, QStringLiteral("После OK открыть «Реакция на ПРР» для всех новых РЛС: "
                                      "одна реакция на весь комплекс")},
        {okButton_, QStringLiteral("Добавить выбранное; затем щелчок по карте ставит РЛС")},
        {cancelButton_, QStringLiteral("Закрыть, ничего не добавляя")},
    });

    connect(singleRadarBox_, &QComboBox::activated, this, [this](int i) { singleRadarChosen(i); });
    connect(complexBox_, &QComboBox::activated, this, [this](int i) { complexChosen(i); });
    connect(okButton_, &QPushButton::clicked, this, [this] { addChosen(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });
}

bool AddRadarDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        resetChoices();
    }
    return QWidget::event(event);
}

void AddRadarDialog::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void AddRadarDialog::resetChoices() {
    singleRadarBox_->clear();
    complexBox_->clear();
    singleRadarBox_->addItem(kNoChoice);
    complexBox_->addItem(kNoChoice);
    for (int32_t i = 0; i < radarTypeCount(); ++i) {
        singleRadarBox_->addItem(fromView(radarType(i).name));
    }
    for (int32_t i = 0; i < samComplexCount(); ++i) {
        complexBox_->addItem(fromView(samComplex(i).name));
    }
    singleRadarBox_->setCurrentIndex(0);
    complexBox_->setCurrentIndex(0);
}

void AddRadarDialog::singleRadarChosen(int index) {
    if (index > 0) {
        complexBox_->setCurrentIndex(0);
    }
}

void AddRadarDialog::complexChosen(int index) {
    if (index > 0) {
        singleRadarBox_->setCurrentIndex(0);
    }
}

void AddRadarDialog::addChosen() {
    const int single = singleRadarBox_->currentIndex();
    const int complex = complexBox_->currentIndex();
    const int32_t firstNew = world_.radarCount;
    bool added = false;
    if (complex >= 1) {
        added = perform(change::addComplex(complex - 1, workingBox_->isChecked()));
    } else if (single >= 1) {
        added = perform(change::addRadar(single - 1, workingBox_->isChecked()));
    }
    if (added) {
        emit radarsAdded();
    }
    close();
    if (added && reactionBox_->isChecked()) {
        std::vector<int32_t> rows;
        for (int32_t row = firstNew; row < world_.radarCount; ++row) {
            rows.push_back(row);
        }
        emit reactionWanted(rows);
    }
}

void AddRadarDialog::cancel() {
    close();
}

}  // namespace prrsim::ui
