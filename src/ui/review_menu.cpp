#include "ui/review_menu.h"

#include <QActionGroup>

#include "ui/controls.h"

namespace prrsim::ui {

ReviewMenu::ReviewMenu(QMenu* viewMenu, MapOverlays& overlays, QObject* parent)
    : QObject(parent), overlays_(overlays) {
    setObjectName(QStringLiteral("reviewMenu"));
    logAction_ =
        namedAction(viewMenu->addAction(QStringLiteral("Журнал"), this, &ReviewMenu::logRequested),
                    "logAction");
    debriefAction_ = namedAction(
        viewMenu->addAction(QStringLiteral("Разбор"), this, &ReviewMenu::debriefRequested),
        "debriefAction");
    viewMenu->addSeparator();
    createTrailChoice(viewMenu);
    impactsAction_ = addToggle(viewMenu, "impactsAction", QStringLiteral("Места подрывов"),
                               [this](bool on) { overlays_.setImpacts(on); });
    clearImpactsAction_ = namedAction(viewMenu->addAction(QStringLiteral("Очистить места подрывов"),
                                                          this, &ReviewMenu::clearImpactsRequested),
                                      "clearImpactsAction");
    radiatingAction_ = addToggle(viewMenu, "radiatingAction", QStringLiteral("Излучающие РЛС"),
                                 [this](bool on) { overlays_.setRadiating(on); });
    legendAction_ = addToggle(viewMenu, "legendAction", QStringLiteral("Условные обозначения"),
                              [this](bool on) { overlays_.setLegend(on); });
}

void ReviewMenu::createTrailChoice(QMenu* viewMenu) {
    QMenu* trails = viewMenu->addMenu(QStringLiteral("Следы"));
    trails->setObjectName(QStringLiteral("trailsMenu"));
    auto* group = new QActionGroup(this);
    const auto trailAction = [&](const char* name, const QString& text, TrailMode mode) {
        QAction* action =
            trails->addAction(text, this, [this, mode] { overlays_.setTrails(mode); });
        action->setCheckable(true);
        action->setChecked(mode == TrailMode::Off);
        group->addAction(action);
        return namedAction(action, name);
    };
    trailsOffAction_ = trailAction("trailsOffAction", QStringLiteral("Нет"), TrailMode::Off);
    trailsMinuteAction_ = trailAction("trailsMinuteAction", QStringLiteral("За последнюю минуту"),
                                      TrailMode::LastMinute);
    trailsFlightAction_ =
        trailAction("trailsFlightAction", QStringLiteral("За весь полёт"), TrailMode::WholeFlight);
}

QAction* ReviewMenu::addToggle(QMenu* viewMenu, const char* name, const QString& text,
                               const std::function<void(bool)>& set) {
    QAction* action = namedAction(viewMenu->addAction(text), name);
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, set);
    return action;
}

}  // namespace prrsim::ui
