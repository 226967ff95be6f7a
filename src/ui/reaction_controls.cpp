#include "ui/reaction_controls.h"

#include <QSignalBlocker>
#include <QStandardItemModel>
#include <algorithm>

#include "catalog/radar_catalog.h"
#include "ui/controls.h"

namespace prrsim::ui {

namespace {

// The kinds in ReactionKind order.
const QString kKindNames[kReactionKindCount] = {
    QStringLiteral("Нет"), QStringLiteral("Выключить излучение"), QStringLiteral("Мерцание"),
    QStringLiteral("Перестроить частоту")};

QSpinBox* spinBox(QWidget* parent, const char* name, int top, int low, int high) {
    auto* box = makeControl<QSpinBox>(name, QRect(150, top, 70, 21), parent);
    box->setRange(low, high);
    return box;
}

// Greys out one entry of a list the user may not choose.
void setItemEnabled(QComboBox* box, int index, bool enabled) {
    auto* model = qobject_cast<QStandardItemModel*>(box->model());
    if (QStandardItem* item = model != nullptr ? model->item(index) : nullptr) {
        item->setEnabled(enabled);
    }
}

}  // namespace

ReactionControls::ReactionControls(WorldState& world, QWidget* parent)
    : QWidget(parent, Qt::Tool), perform(applyDirectly(world)), world_(world) {
    setObjectName(QStringLiteral("reactionControls"));
    setWindowTitle(QStringLiteral("Реакция на ПРР"));
    setFixedSize(230, 150);
    createControls();
}

void ReactionControls::createControls() {
    kindBox_ = makeControl<QComboBox>("kindBox", QRect(8, 8, 212, 21), this);
    for (const QString& name : kKindNames) {
        kindBox_->addItem(name);
    }
    makeLabel("warnLabel", QStringLiteral("Дальность угрозы, км"), 8, 38, this);
    warnBox_ = spinBox(this, "warnBox", 35, kReactionWarnKmMin, kReactionWarnKmMax);
    makeLabel("holdLabel", QStringLiteral("Выдержка, с"), 8, 64, this);
    holdBox_ = spinBox(this, "holdBox", 61, 0, kReactionHoldSecondsMax);
    valueLabel_ = makeLabel("valueLabel", QString(), 8, 90, this);
    valueBox_ = spinBox(this, "valueBox", 87, 0, kReactionPercentMax);
    applyButton_ = makeControl<QPushButton>("applyButton", QRect(8, 118, 212, 24), this);
    applyButton_->setText(QStringLiteral("Применить"));
    setTips({{kindBox_, QStringLiteral("Что делает расчёт, когда ракета ближе дальности угрозы: "
                                       "ничего, выключает излучение, включает мерцание или "
                                       "перестраивает частоту")},
             {warnBox_, QStringLiteral("Дальность угрозы по горизонту от ракеты до РЛС, км "
                                       "(%1–%2)")
                            .arg(kReactionWarnKmMin)
                            .arg(kReactionWarnKmMax)},
             {holdBox_, QStringLiteral("Сколько секунд после ухода угрозы расчёт ждёт, прежде "
                                       "чем отменить реакцию, с (0–%1)")
                            .arg(kReactionHoldSecondsMax)},
             {valueBox_, QStringLiteral("Мерцание: период, какой допускает тип РЛС; частота: "
                                        "положение движка частоты, % (0–%1)")
                             .arg(kReactionPercentMax)},
             {applyButton_, QStringLiteral("Задать эту реакцию выбранной РЛС")}});
    connect(kindBox_, &QComboBox::activated, this, [this] { kindChanged(); });
    connect(applyButton_, &QPushButton::clicked, this, [this] { apply(); });
}

void ReactionControls::showRadars(const std::vector<int32_t>& rows) {
    rows_ = rows;
    if (rows.empty() || !validRadar(world_, rows.front())) {
        return;
    }
    const RadarSite& r = radarAt(world_, rows.front());
    const RadarType& type = radarType(r.typeIndex);
    maxBlinkPeriod_ = type.maxBlinkPeriod;
    const QSignalBlocker blocker(kindBox_);
    // Blink only where "Мерцание" offers a setting above 0, for every radar it will be set on.
    bool blinks = true;
    for (const int32_t row : rows) {
        blinks = blinks && validRadar(world_, row) &&
                 canBlink(radarType(radarAt(world_, row).typeIndex));
        if (validRadar(world_, row)) {
            maxBlinkPeriod_ =
                std::min(maxBlinkPeriod_, radarType(radarAt(world_, row).typeIndex).maxBlinkPeriod);
        }
    }
    setItemEnabled(kindBox_, kReactionBlink, blinks);
    kindBox_->setCurrentIndex(r.reactionKind);
    warnBox_->setValue(std::max(r.reactionWarnKm, kReactionWarnKmMin));
    holdBox_->setValue(r.reactionHoldSeconds);
    kindChanged();
    valueBox_->setValue(r.reactionValue);
}

void ReactionControls::kindChanged() {
    const int kind = kindBox_->currentIndex();
    const bool blink = kind == kReactionBlink;
    const bool hop = kind == kReactionHop;
    valueLabel_->setText(blink ? QStringLiteral("Мерцание") : QStringLiteral("Частота, %"));
    valueLabel_->adjustSize();
    valueBox_->setRange(blink ? 1 : 0, blink ? std::max(maxBlinkPeriod_, 1) : kReactionPercentMax);
    valueLabel_->setEnabled(blink || hop);
    valueBox_->setEnabled(blink || hop);
}

ReactionSettings ReactionControls::settings() const {
    const int32_t kind = kindBox_->currentIndex();
    const bool valued = kind == kReactionBlink || kind == kReactionHop;
    return {kind, warnBox_->value(), holdBox_->value(), valued ? valueBox_->value() : 0};
}

void ReactionControls::apply() {
    const ReactionSettings s = settings();
    for (const int32_t row : rows_) {
        perform(change::setReaction(row, s));
    }
    emit applied();
}

std::vector<int32_t> radarAndComplexRows(const WorldState& world, int32_t row) {
    std::vector<int32_t> rows;
    if (!validRadar(world, row)) {
        return rows;
    }
    const int32_t complex = radarAt(world, row).placedComplex;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        if (j == row || (complex >= 0 && radarAt(world, j).placedComplex == complex)) {
            rows.push_back(j);
        }
    }
    return rows;
}

}  // namespace prrsim::ui
