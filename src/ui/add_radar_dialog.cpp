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
    setFixedSize(358, 128);

    Label2 = makeLabel("Label2", QStringLiteral("Отдельные РЛС"), 8, 6, this);
    ComboBox1 = makeControl<QComboBox>("ComboBox1", {8, 22, 249, 21}, this);

    Label1 = makeLabel("Label1", QStringLiteral("Платформы ЗРК"), 8, 50, this);
    ComboBox2 = makeControl<QComboBox>("ComboBox2", {8, 66, 249, 21}, this);

    CheckBox1 = makeControl<QCheckBox>("CheckBox1", {8, 100, 200, 17}, this);
    CheckBox1->setText(QStringLiteral("В рабочем состоянии"));
    CheckBox1->setChecked(true);

    Button1 = makeButton("Button1", QStringLiteral("OK"), {272, 22, 75, 25}, this);
    Button2 = makeButton("Button2", QStringLiteral("Отмена"), {272, 62, 75, 25}, this);
    setTips({
        {ComboBox1, QStringLiteral("Отдельная РЛС: тип из каталога")},
        {ComboBox2, QStringLiteral("Платформа ЗРК: все РЛС комплекса в одном месте")},
        {CheckBox1, QStringLiteral("Новые РЛС сразу излучают и вращают антенну")},
        {Button1, QStringLiteral("Добавить выбранное; затем щелчок по карте ставит РЛС")},
        {Button2, QStringLiteral("Закрыть, ничего не добавляя")},
    });

    connect(ComboBox1, &QComboBox::activated, this, [this](int i) { ComboBox1Change(i); });
    connect(ComboBox2, &QComboBox::activated, this, [this](int i) { ComboBox2Change(i); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

bool AddRadarDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QWidget::event(event);
}

void AddRadarDialog::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void AddRadarDialog::FormActivate() {
    ComboBox1->clear();
    ComboBox2->clear();
    ComboBox1->addItem(kNoChoice);
    ComboBox2->addItem(kNoChoice);
    for (int32_t i = 0; i < radarTypeCount(); ++i) {
        ComboBox1->addItem(fromView(radarType(i).name));
    }
    for (int32_t i = 0; i < samComplexCount(); ++i) {
        ComboBox2->addItem(fromView(samComplex(i).name));
    }
    ComboBox1->setCurrentIndex(0);
    ComboBox2->setCurrentIndex(0);
}

void AddRadarDialog::ComboBox1Change(int index) {
    if (index > 0) {
        ComboBox2->setCurrentIndex(0);
    }
}

void AddRadarDialog::ComboBox2Change(int index) {
    if (index > 0) {
        ComboBox1->setCurrentIndex(0);
    }
}

void AddRadarDialog::Button1Click() {
    const int single = ComboBox1->currentIndex();
    const int complex = ComboBox2->currentIndex();
    bool added = false;
    if (complex >= 1) {
        added = perform(change::addComplex(complex - 1, CheckBox1->isChecked()));
    } else if (single >= 1) {
        added = perform(change::addRadar(single - 1, CheckBox1->isChecked()));
    }
    if (added) {
        emit radarsAdded();
    }
    close();
}

void AddRadarDialog::Button2Click() {
    close();
}

}  // namespace prrsim::ui
