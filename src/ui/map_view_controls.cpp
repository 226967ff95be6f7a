#include "ui/map_view_controls.h"

#include "ui/review_windows.h"

namespace prrsim::ui {

namespace {

QAction* checkable(QAction* action, const char* name) {
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    return action;
}

}  // namespace

MapViewControls::MapViewControls(MapView* view, QMenu* viewMenu, QStatusBar* statusBar,
                                 QObject* parent)
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

    ScaleLabel = new QLabel(statusBar);
    ScaleLabel->setObjectName(QStringLiteral("ScaleLabel"));
    ScaleLabel->setContentsMargins(4, 0, 6, 0);
    ScaleLabel->setText(view->statusText());
    statusBar->addPermanentWidget(ScaleLabel);
    connect(view, &MapView::statusChanged, ScaleLabel, &QLabel::setText);

    // The review side of the window, made before these controls, owns the overlays and their
    // menu entries: the view places the miss distances among its labels, the legend opens in
    // its own window.
    auto* review = parent->findChild<ReviewWindows*>(QString(), Qt::FindDirectChildrenOnly);
    if (review != nullptr) {
        view->setOverlays(&review->overlays());
        Legend = new MapLegend(review->overlays().legendPicture(), view, view->window());
        QAction* legendAction = review->LegendAction;
        connect(legendAction, &QAction::toggled, Legend, &MapLegend::setShown);
        connect(Legend, &MapLegend::closed, legendAction, [legendAction] {
            legendAction->setChecked(false);
        });
    }
}

}  // namespace prrsim::ui
