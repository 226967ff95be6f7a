#include "ui/map_view_controls.h"

#include "ui/controls.h"

namespace prrsim::ui {

MapViewControls::MapViewControls(MapView* view, QMenu* viewMenu, QStatusBar* statusBar,
                                 MapOverlays& overlays, QAction* legendAction, QObject* parent)
    : QObject(parent) {
    viewMenu->addSeparator();
    fitAction_ = viewMenu->addAction(QStringLiteral("Весь район"), view, &MapView::fitWorld);
    fitAction_->setObjectName(QStringLiteral("fitAction"));
    fitAction_->setShortcut(QKeySequence(Qt::Key_Home));
    oneToOneAction_ = viewMenu->addAction(QStringLiteral("1:1"), view, &MapView::oneToOne);
    oneToOneAction_->setObjectName(QStringLiteral("oneToOneAction"));

    QMenu* labels = viewMenu->addMenu(QStringLiteral("Подписи"));
    labels->setObjectName(QStringLiteral("labelsMenu"));
    auto* group = new QActionGroup(this);
    const struct {
        QAction** action;
        const char* name;
        QString text;
        LabelMode mode;
    } modes[] = {
        {&labelsAllAction_, "labelsAllAction", QStringLiteral("Все"), LabelMode::All},
        {&labelsSelectionAction_, "labelsSelectionAction",
         QStringLiteral("Выбранный объект и его цели"), LabelMode::Selection},
        {&labelsNoneAction_, "labelsNoneAction", QStringLiteral("Нет"), LabelMode::None},
    };
    for (const auto& row : modes) {
        const LabelMode mode = row.mode;
        *row.action = checkableAction(
            labels->addAction(row.text, view, [view, mode] { view->setLabelMode(mode); }),
            row.name);
        group->addAction(*row.action);
    }
    labelsAllAction_->setChecked(true);
    labels->addSeparator();
    placeLabelsAction_ =
        checkableAction(labels->addAction(QStringLiteral("Без наложений и в масштабе 1:1"), view,
                                          [view](bool on) { view->setPlaceLabelsAlways(on); }),
                        "placeLabelsAction");

    rulerAction_ = checkableAction(viewMenu->addAction(QStringLiteral("Линейка"), view,
                                                       [view](bool on) { view->setRulerOn(on); }),
                                   "rulerAction");
    rulerAction_->setShortcut(QKeySequence(Qt::Key_R));
    connect(view, &MapView::rulerEnded, rulerAction_, [this] { rulerAction_->setChecked(false); });
    ringsAction_ = checkableAction(viewMenu->addAction(QStringLiteral("Кольца дальности"), view,
                                                       [view](bool on) { view->setRings(on); }),
                                   "ringsAction");

    // The status bar's scale and cursor position.
    auto* scaleLabel = new QLabel(statusBar);
    scaleLabel->setObjectName(QStringLiteral("scaleLabel"));
    scaleLabel->setContentsMargins(4, 0, 6, 0);
    scaleLabel->setText(view->statusText());
    statusBar->addPermanentWidget(scaleLabel);
    connect(view, &MapView::statusChanged, scaleLabel, &QLabel::setText);

    view->setOverlays(&overlays);
    legend_ = new MapLegend(overlays.legendPicture(), view, view->window());
    connect(legendAction, &QAction::toggled, legend_, &MapLegend::setShown);
    connect(legend_, &MapLegend::closed, legendAction,
            [legendAction] { legendAction->setChecked(false); });
}

}  // namespace prrsim::ui
