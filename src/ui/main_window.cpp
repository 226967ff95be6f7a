// The main window: layout, timers, the world's observer, the buttons under the map and the
// mode indicators. The map click, the time and the review's selection live in their own files.
#include "ui/main_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFont>
#include <QLayout>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QShortcut>

#include "radar/radar_model.h"
#include "sim/tick.h"
#include "ui/add_radar_dialog.h"
#include "ui/aircraft_panel.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/map_area_layout.h"
#include "ui/map_view_controls.h"
#include "ui/missile_window.h"
#include "ui/radar_panel.h"
#include "ui/review_windows.h"
#include "world/world.h"

namespace prrsim::ui {

namespace {

const QString kTitle = QStringLiteral("Наведение ПРР");
// The client area under the menu bar: every component as placed.
constexpr QSize kClientSize(787, 512);

QTimer* makeTimer(const char* name, int interval, QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(interval);
    return timer;
}

}  // namespace

MainWindow::MainWindow(WorldState& world, QWidget* parent)
    : QMainWindow(parent), world_(world), session_(world) {
    setObjectName(QStringLiteral("mainWindow"));
    setFont(formFont());
    resize(kClientSize);
    showNotice = [this](const QString& text) { QMessageBox::information(this, kTitle, text); };

    createMapArea();
    createButtons();
    createTimers();
    aircraftPanel_ = new AircraftPanel(world_, view_, this);
    aircraftPanel_->hide();
    menuBar()->setObjectName(QStringLiteral("menuBar"));
    sceneFiles_ = new SceneFiles(session_, this, menuBar());
    timeControls_ = new TimeControls(this, menuBar());
    createStatusBar();
    arrangeWindow();
    connectTime();
    connectScenes();

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("Вид"));
    viewMenu->setObjectName(QStringLiteral("viewMenu"));
    review_ = new ReviewWindows(world_, session_, this, viewMenu);
    connect(review_, &ReviewWindows::objectChosen, this, &MainWindow::selectReviewObject);
    connect(review_, &ReviewWindows::jumpRequested, this, &MainWindow::jumpTo);

    redrawBackground();
    mapView_->showFrame(background_);
    createWindows();

    // The map's view: menu "Вид" and the status bar's scale; a new view is drawn at once.
    new MapViewControls(mapView_, viewMenu, statusBar_, review_->overlays(),
                        review_->legendAction(), this);
    mapView_->setWorld(&world_, &view_);
    connect(mapView_, &MapView::viewChanged, this, &MainWindow::redraw);
    world_.observer = this;
    updateTitle();
    updateStatus();
    tickTimer_->start();
    redrawTimer_->start();
}

MainWindow::~MainWindow() {
    if (world_.observer == this) {
        world_.observer = nullptr;
    }
}

void MainWindow::createMapArea() {
    mapView_ = new MapView(this);
    mapView_->setObjectName(QStringLiteral("mapView"));
    mapView_->setGeometry(0, 0, kMapWidth, kMapHeight);
    mapView_->setToolTip(QStringLiteral("Карта 60 × 44 км: щелчок выбирает ближайший объект"));
    connect(mapView_, &MapView::mouseMoved, this, &MainWindow::mapMouseMoved);
    connect(mapView_, &MapView::clicked, this, &MainWindow::mapClicked);

    complexMemberList_ = new QListWidget(this);
    complexMemberList_->setObjectName(QStringLiteral("complexMemberList"));
    complexMemberList_->setGeometry(kMapWidth, kMapHeight, 185, 57);
    complexMemberList_->hide();
    complexMemberList_->setToolTip(QStringLiteral("РЛС комплекса; щелчок выбирает РЛС"));
    connect(complexMemberList_, &QListWidget::itemClicked, this, &MainWindow::selectComplexMember);

    radarPanel_ = new RadarPanel(world_, view_, this);
    radarPanel_->setGeometry(kMapWidth, 0, 185, kMapHeight + 1);
    radarPanel_->hide();
    connect(radarPanel_, &RadarPanel::modesChanged, this, &MainWindow::updateModeIndicators);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &MainWindow::cancelArmedModes);
}

void MainWindow::createButtons() {
    addRadarButton_ =
        makeButton("addRadarButton", QStringLiteral("Добавить РЛС"), {-1, 444, 97, 30}, this);
    removeRadarButton_ =
        makeButton("removeRadarButton", QStringLiteral("Убрать РЛС"), {95, 444, 89, 30}, this);
    removeRadarButton_->setEnabled(false);
    addAircraftButton_ = makeButton("addAircraftButton", QStringLiteral("Добавить самолёт"),
                                    {-1, 478, 97, 30}, this);
    removeAircraftButton_ = makeButton("removeAircraftButton", QStringLiteral("Убрать самолёт"),
                                       {95, 478, 89, 30}, this);
    removeAircraftButton_->setEnabled(false);
    setTips({
        {addRadarButton_, QStringLiteral("Добавить РЛС или платформу ЗРК")},
        {removeRadarButton_, QStringLiteral("Убрать выбранную РЛС")},
        {addAircraftButton_,
         QStringLiteral("Добавить самолёт (не более %1)").arg(kAircraftCapacity)},
        {removeAircraftButton_,
         QStringLiteral("Убрать выбранный самолёт вместе с его подвешенными ракетами")},
    });
    connect(addRadarButton_, &QPushButton::clicked, this, &MainWindow::openAddRadarDialog);
    connect(removeRadarButton_, &QPushButton::clicked, this, &MainWindow::removeRadar);
    connect(addAircraftButton_, &QPushButton::clicked, this, &MainWindow::addAircraft);
    connect(removeAircraftButton_, &QPushButton::clicked, this, &MainWindow::removeAircraft);
}

void MainWindow::createTimers() {
    tickTimer_ = makeTimer("tickTimer", 10, this);
    tickTimer_->setTimerType(Qt::PreciseTimer);
    redrawTimer_ = makeTimer("redrawTimer", 100, this);
    impactTimer_ = makeTimer("impactTimer", 190, this);
    connect(tickTimer_, &QTimer::timeout, this, &MainWindow::runDueTicks);
    connect(redrawTimer_, &QTimer::timeout, this, &MainWindow::redraw);
    connect(impactTimer_, &QTimer::timeout, this, &MainWindow::advanceImpactText);
}

// The dialog and the missile window are windows of their own; the panels and they change the
// world through the recorded perform.
void MainWindow::createWindows() {
    addRadarDialog_ = new AddRadarDialog(world_, this);
    addRadarDialog_->hide();
    connect(addRadarDialog_, &AddRadarDialog::radarsAdded, this, &MainWindow::onRadarsAdded);
    connect(addRadarDialog_, &AddRadarDialog::closed, this, [this] { setEnabled(true); });
    connect(addRadarDialog_, &AddRadarDialog::reactionWanted, radarPanel_,
            &RadarPanel::openReactionFor);
    missileWindow_ = new MissileWindow(world_, view_, this);
    missileWindow_->hide();
    const Perform recorded = [this](const batch::Action& action) { return perform(action); };
    radarPanel_->perform = recorded;
    addRadarDialog_->perform = recorded;
    missileWindow_->perform = recorded;
    aircraftPanel_->perform = recorded;
    aircraftPanel_->writeBack = [this](const batch::Action& action) { return writeBack(action); };
    connect(aircraftPanel_, &AircraftPanel::modesChanged, this, &MainWindow::updateModeIndicators);
    connect(aircraftPanel_, &AircraftPanel::missileLoaded, this, &MainWindow::showMissileWindow);
    connect(aircraftPanel_, &AircraftPanel::notice, this,
            [this](const QString& text) { showNotice(text); });
}

void MainWindow::createStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("statusBar"));
    statusBar_->setSizeGripEnabled(false);
    hintLabel_ = new QLabel(statusBar_);
    hintLabel_->setObjectName(QStringLiteral("hintLabel"));
    statusBar_->addWidget(hintLabel_, 1);
    timeLabel_ = new QLabel(statusBar_);
    timeLabel_->setObjectName(QStringLiteral("timeLabel"));
    timeLabel_->setToolTip(QStringLiteral("Время сцены, ч:мм:сс.сс"));
    speedLabel_ = new QLabel(statusBar_);
    speedLabel_->setObjectName(QStringLiteral("speedLabel"));
    pauseLabel_ = new QLabel(statusBar_);
    pauseLabel_->setObjectName(QStringLiteral("pauseLabel"));
    fileLabel_ = new QLabel(statusBar_);
    fileLabel_->setObjectName(QStringLiteral("fileLabel"));
    for (QLabel* label : {timeLabel_, speedLabel_, pauseLabel_, fileLabel_}) {
        label->setContentsMargins(4, 0, 6, 0);
        statusBar_->addPermanentWidget(label);
    }
}

void MainWindow::arrangeWindow() {
    // The window grows from the client's size, the map taking the room (MapAreaLayout).
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->resize(kClientSize);
    client->setMinimumSize(kClientSize);
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == client || w == menuBar() || w == statusBar_ || w->isWindow()) {
            continue;
        }
        const bool hidden = w->isHidden();
        w->setParent(client);
        w->setVisible(!hidden);
    }
    setCentralWidget(client);
    setStatusBar(statusBar_);
    // The window never shrinks below its components' places.
    layout()->setSizeConstraint(QLayout::SetMinimumSize);
    new MapAreaLayout(client, mapView_);  // owned by the client
}

void MainWindow::connectScenes() {
    session_.confirmDrop = [this](int64_t tick) { return sceneFiles_->confirmDrop(tick); };
    session_.worldReplacing = [this](bool anotherScene) {
        if (anotherScene) {
            forgetScene(view_);
        }
        lengthsBeforeReplace_ = tableLengths(world_);
    };
    session_.worldReplaced = [this] {
        keepAfterRebuild(view_, lengthsBeforeReplace_, world_);
        if (stepping_) {
            resyncDue_ = true;  // once the ticks of this event have run
        } else {
            showWorldAgain();
        }
    };
    connect(sceneFiles_, &SceneFiles::sceneChanging, this, [this] {
        addRadarDialog_->close();
        impact_ = ImpactText{};
    });
    connect(sceneFiles_, &SceneFiles::sceneReplaced, this, [this](bool pause) {
        updateTitle();
        setPaused(pause || paused_);
    });
    connect(sceneFiles_, &SceneFiles::fileChanged, this, &MainWindow::updateStatus);
    connect(sceneFiles_, &SceneFiles::notice, this,
            [this](const QString& text) { showNotice(text); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (sceneFiles_->settleForClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::updateTitle() {
    const QString name = QFileInfo(sceneFiles_->sceneFile()).fileName();
    setWindowTitle(name.isEmpty() ? kTitle + "[*]" : kTitle + " — " + name + "[*]");
    setWindowModified(session_.modified());
}

bool MainWindow::perform(const batch::Action& action) {
    const bool done =
        session_.perform(action, writingBack_ ? session::Change::WriteBack : session::Change::User);
    if (!done && !writingBack_) {
        // Refused or kept from dropping the recording: the controls show the world again.
        showWorldAgain();
    }
    updateTitle();
    return done;
}

bool MainWindow::writeBack(const batch::Action& action) {
    return session_.perform(action, session::Change::WriteBack);
}

// The background: the landmarks drawn into the map, then copied by every redraw.
void MainWindow::redrawBackground() {
    QImage map = blankMap();
    prepareBackground(world_, map);
    background_ = map;
}

void MainWindow::showWorldAgain() {
    const QScopedValueRollback<bool> writingBack(writingBack_, true);
    // Another scene may stand on other landmarks.
    redrawBackground();
    if (!validAircraft(world_, view_.selectedAircraft)) {
        view_.selectedAircraft = -1;
    }
    if (!validRadar(world_, view_.selectedRadar)) {
        view_.selectedRadar = -1;
    }
    if (!validMissile(world_, view_.selectedMissile)) {
        view_.selectedMissile = -1;
    }
    complexMemberList_->hide();
    radarPanel_->setVisible(view_.selectedRadar >= 0);
    if (view_.selectedRadar >= 0) {
        radarPanel_->refresh(view_.selectedRadar);
    }
    showSelectionPanels();
    updateModeIndicators();
    redraw();
    updateTitle();
}

void MainWindow::redraw() {
    if (sceneFiles_->prompting()) {
        return;
    }
    review_->refresh();
    QImage frame = mapView_->startFrame(background_);
    const MapCamera& camera = mapView_->camera();
    QPainter painter(&frame);
    beginMapPainting(painter);
    labels_.beginFrame(frame, mapView_->labelSettings());
    drawAircraft(painter, world_, view_, camera);
    drawRadars(painter, world_, view_, labels_, camera);
    if (validAircraft(world_, view_.selectedAircraft)) {
        aircraftPanel_->refreshPeriodic(view_.selectedAircraft);
    }
    drawMissiles(painter, world_, view_, labels_, camera);
    if (view_.selectedMissile >= 0) {
        missileWindow_->refreshMissileWindow();
    }
    drawImpactText(painter, impact_, camera, &labels_);
    for (const ScreenBox& cross : review_->impactCrossBoxes(camera)) {
        labels_.noteObstacle(cross);
    }
    labels_.finishFrame(painter);
    drawOverlaysInView(painter, camera, review_->overlays(),
                       [this](QPainter& p) { review_->drawOverlays(p); });
    mapView_->drawViewMarks(painter, world_, view_);
    painter.end();
    mapView_->showFrame(frame);
    noteAchievedSpeed();
    updateStatus();
}

void MainWindow::stopTimers() {
    for (QTimer* timer : {tickTimer_, redrawTimer_, impactTimer_}) {
        timer->stop();
    }
}

void MainWindow::advanceImpactText() {
    if (impact_.state == 1) {
        impact_.state = 2;
    } else if (impact_.state == 2) {
        impact_.state = 0;
        impactTimer_->stop();
    }
}

void MainWindow::startImpactText(int x, int y) {
    impact_ = ImpactText{1, x, y};
    impactTimer_->start();  // a new impact restarts the animation
}

void MainWindow::radarPanelRefresh(int32_t row) {
    if (row == view_.selectedRadar && validRadar(world_, row)) {
        radarPanel_->refresh(row);
    }
}

void MainWindow::missileDetonated(const ImpactEvent& impact) {
    startImpactText(trunc32(impact.x), trunc32(impact.y));
}

void MainWindow::missileRemoved(int32_t row) {
    if (followMissileRemoval(view_, row)) {
        missileWindow_->hide();
    }
}

void MainWindow::updateModeIndicators() {
    // A target-picking mode with nothing to act for would swallow every later click: "Выбрать"
    // needs the selected aircraft, "Захват" the selected radar with its emission on.
    if (view_.pickTargetMode && !validAircraft(world_, view_.selectedAircraft)) {
        view_.pickTargetMode = false;
    }
    if (view_.captureMode && !(validRadar(world_, view_.selectedRadar) &&
                               radarAt(world_, view_.selectedRadar).emissionOn)) {
        view_.captureMode = false;
    }
    aircraftPanel_->showArmedModes();
    radarPanel_->showArmedModes();
    if (view_.pickTargetMode || view_.captureMode) {
        mapView_->setCursor(Qt::CrossCursor);
    } else {
        mapView_->unsetCursor();
    }
    hintLabel_->setText(modeHint());
}

// Esc: every armed one-shot mode is cancelled; radars added by the dialog stay where they were
// created.
void MainWindow::cancelArmedModes() {
    view_.pickTargetMode = false;
    view_.moveAircraftMode = false;
    view_.radarPlaceMode = false;
    view_.captureMode = false;
    updateModeIndicators();
}

void MainWindow::showMissileWindow() {
    if (missileWindow_->isHidden()) {
        missileWindow_->show();
    }
    missileWindow_->refreshMissileWindow();
}

}  // namespace prrsim::ui
