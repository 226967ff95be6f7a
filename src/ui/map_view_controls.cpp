#include "ui/map_view_controls.h"

namespace prrsim::ui {

namespace {

QAction* checkable(QAction* action, const char* name) {
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    return action;
}

}  // namespace

MapViewControls::MapViewControls(MapView* view, QMenu* viewMenu, QStatusBar* statusBar,
                                 MapOverlays& overlays, QAction* legendAction, QObject* parent)
    : QObject(parent) {
    viewMenu->addSeparator();
    FitAction = viewMenu->addAction(QStringLiteral("Весь район"), view, &MapView::fitWorld);
    FitAction->setObjectName(QStringLiteral("FitAction"));
    FitAction->setShortcut(QKeySequence(Qt::Key_Home));
    OneToOneAction = viewMenu->addAction(QStringLiteral("1:1"), view, &MapView::oneToOne);
    OneToOneAction->setObjectName(QStringLiteral("OneToOneAction"));

    QMenu* labels = viewMenu->addMenu(QStringLiteral("Подписи"));
    labels->setObjectName(QStringLiteral("LabelsMenu"));
    auto* group = new QActionGroup(this);
    const struct {
        QAction** action;
        const char* name;
        QString text;
        LabelMode mode;
    } modes[] = {
        {&LabelsAllAction, "LabelsAllAction", QStringLiteral("Все"), LabelMode::All},
        {&LabelsSelectionAction, "LabelsSelectionAction",
         QStringLiteral("Выбранный объект и его цели"), LabelMode::Selection},
        {&LabelsNoneAction, "LabelsNoneAction", QStringLiteral("Нет"), LabelMode::None},
    };
    for (const auto& row : modes) {
        const LabelMode mode = row.mode;
        *row.action =
            checkable(labels->addAction(row.text, view, [view, mode] { view->setLabelMode(mode); }),
                      row.name);
        group->addAction(*row.action);
    }
    LabelsAllAction->setChecked(true);
    labels->addSeparator();
    PlaceLabelsAction =
        checkable(labels->addAction(QStringLiteral("Без наложений и в масштабе 1:1"), view,
                                    [view](bool on) { view->setPlaceLabelsAlways(on); }),
                  "PlaceLabelsAction");

    RulerAction = checkable(viewMenu->addAction(QStringLiteral("Линейка"), view,
                                                [view](bool on) { view->setRulerOn(on); }),
                            "RulerAction");
    RulerAction->setShortcut(QKeySequence(Qt::Key_R));
    connect(view, &MapView::rulerEnded, RulerAction, [this] { RulerAction->setChecked(false); });
    RingsAction = checkable(viewMenu->addAction(QStringLiteral("Кольца дальности"), view,
                                                [view](bool on) { view->setRings(on); }),
                            "RingsAction");

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
