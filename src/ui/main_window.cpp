// The main window: layout, timers, the world's observer, the buttons under the map and the
// mode indicators. The map drawing, the map click and the aircraft panel live in their own files.
#include "ui/main_window.h"

#include <QFont>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QShortcut>

#include "radar/radar_model.h"
#include "sim/tick.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/map_view_controls.h"
#include "ui/radar_panel.h"
#include "ui/review_windows.h"
#include "ui/add_radar_dialog.h"
#include "ui/missile_window.h"
#include "world/world.h"

namespace prrsim::ui {

void setArmed(QPushButton* button, bool armed) {
    QFont font = button->font();
    font.setBold(armed);
    font.setUnderline(armed);
    button->setFont(font);
}

bool isArmed(const QPushButton* button) {
    return button->font().bold() && button->font().underline();
}

namespace {

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
    // 795 x 546 outside; the client area holds every component as placed.
    resize(787, 512);
    showNotice = [this](const QString& text) {
        QMessageBox::information(this, QStringLiteral("Наведение ПРР"), text);
    };

    createMainComponents();
    createAircraftPanel();
    connectAircraftPanel();
    createTimeControls();
    createMenus();
    createStatusBar();
    arrangeWindow();
    session_.confirmDrop = [this](int64_t tick) { return confirmDrop(tick); };
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

    Review = new ReviewWindows(world_, session_, this);
    connect(Review->Log, &EventLogWindow::objectChosen, this, &MainWindow::selectReviewObject);
    connect(Review->Log, &EventLogWindow::jumpToTick, this, &MainWindow::jumpTo);

    redrawBackground();
    Image1->showFrame(Image3);

    FormCreate();

    Form2 = new AddRadarDialog(world_, this);
    Form2->hide();
    connect(Form2, &AddRadarDialog::radarsAdded, this, &MainWindow::onRadarsAdded);
    connect(Form2, &AddRadarDialog::closed, this, &MainWindow::onForm2Closed);
    Form3 = new MissileWindow(world_, view_, this);
    Form3->hide();
    const Perform recorded = [this](const batch::Action& action) { return perform(action); };
    Panel2->perform = recorded;
    Form2->perform = recorded;
    Form3->perform = recorded;

    // The map's view: menu "Вид" and the status bar's scale; a new view is drawn at once.
    new MapViewControls(Image1, Review->ViewMenu, StatusBar, this);
    Image1->setWorld(&world_, &view_);
    connect(Image1, &MapView::viewChanged, this, &MainWindow::Timer2Timer);
    world_.observer = this;
    updateTitle();
    updateStatus();
    Timer1->start();
    Timer2->start();
}

MainWindow::~MainWindow() {
    if (world_.observer == this) {
        world_.observer = nullptr;
    }
}

void MainWindow::createMainComponents() {
    Image1 = new MapView(this);
    Image1->setGeometry(0, 0, kMapWidth, kMapHeight);
    connect(Image1, &MapView::mouseMoved, this, &MainWindow::Image1MouseMove);
    connect(Image1, &MapView::clicked, this, &MainWindow::Image1Click);

    Button12 = makeButton("Button12", QStringLiteral("Добавить РЛС"), {-1, 444, 97, 30}, this);
    Button13 = makeButton("Button13", QStringLiteral("Убрать РЛС"), {95, 444, 89, 30}, this);
    Button13->setEnabled(false);
    Button14 = makeButton("Button14", QStringLiteral("Добавить самолёт"), {-1, 478, 97, 30}, this);
    Button15 = makeButton("Button15", QStringLiteral("Убрать самолёт"), {95, 478, 89, 30}, this);
    Button15->setEnabled(false);
    setTips({
        {Button12, QStringLiteral("Добавить РЛС или платформу ЗРК")},
        {Button13, QStringLiteral("Убрать выбранную РЛС")},
        {Button14, QStringLiteral("Добавить самолёт (не более %1)").arg(kAircraftCapacity)},
        {Button15, QStringLiteral("Убрать выбранный самолёт вместе с его подвешенными ракетами")},
        {Image1, QStringLiteral("Карта 60 × 44 км: щелчок выбирает ближайший объект")},
    });
    connect(Button12, &QPushButton::clicked, this, &MainWindow::Button12Click);
    connect(Button13, &QPushButton::clicked, this, &MainWindow::Button13Click);
    connect(Button14, &QPushButton::clicked, this, &MainWindow::Button14Click);
    connect(Button15, &QPushButton::clicked, this, &MainWindow::Button15Click);

    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setGeometry(kMapWidth, kMapHeight, 185, 57);
    ListBox2->hide();
    ListBox2->setToolTip(QStringLiteral("РЛС комплекса; щелчок выбирает РЛС"));
    connect(ListBox2, &QListWidget::itemClicked, this, &MainWindow::ListBox2Click);

    Panel2 = new RadarPanel(world_, view_, this);
    Panel2->setGeometry(kMapWidth, 0, 185, kMapHeight + 1);
    Panel2->hide();
    connect(Panel2, &RadarPanel::modesChanged, this, &MainWindow::updateModeIndicators);

    Timer1 = makeTimer("Timer1", 10, this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer2 = makeTimer("Timer2", 100, this);
    Timer3 = makeTimer("Timer3", 190, this);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2Timer);
    connect(Timer3, &QTimer::timeout, this, &MainWindow::Timer3Timer);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &MainWindow::cancelArmedModes);
}

bool MainWindow::perform(const batch::Action& action) {
    const bool done = session_.perform(action, writingBack_ ? session::Change::WriteBack : session::Change::User);
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
    Image3 = map;
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
    ListBox2->hide();
    Panel2->setVisible(view_.selectedRadar >= 0);
    if (view_.selectedRadar >= 0) {
        Panel2->refresh(view_.selectedRadar);
    }
    showSelectionPanels();
    updateModeIndicators();
    Timer2Timer();
    updateTitle();
}

void MainWindow::Timer1Timer() {
    if (paused_ || modal_ > 0) {
        return;
    }
    owedQuarters_ += kQuarterTicks[speed_];
    const int ticks = owedQuarters_ / 4;
    owedQuarters_ %= 4;
    runSteps(ticks);
}

void MainWindow::runSteps(int64_t n) {
    {
        const QScopedValueRollback<bool> stepping(stepping_, true);
        for (int64_t i = 0; i < n; ++i) {
            session_.step();
        }
    }
    if (resyncDue_) {
        resyncDue_ = false;
        showWorldAgain();
    }
}

void MainWindow::Timer2Timer() {
    if (modal_ > 0) {
        return;
    }
    Review->refresh();
    QImage frame = Image1->startFrame(Image3);
    const MapCamera& camera = Image1->camera();
    QPainter painter(&frame);
    beginMapPainting(painter);
    labels_.beginFrame(frame, Image1->labelSettings());
    drawAircraft(painter, world_, view_, camera);
    drawRadars(painter, world_, view_, labels_, camera);
    if (validAircraft(world_, view_.selectedAircraft)) {
        refreshAircraftPanelPeriodic(view_.selectedAircraft);
    }
    drawMissiles(painter, world_, view_, labels_, camera);
    if (view_.selectedMissile >= 0) {
        Form3->refreshMissileWindow();
    }
    drawImpactText(painter, impact_, camera, &labels_);
    labels_.finishFrame(painter);
    drawOverlaysInView(painter, camera, Review->overlays(),
                       [this](QPainter& p) { Review->drawOverlays(p); });
    Image1->drawViewMarks(painter, world_, view_);
    painter.end();
    Image1->showFrame(frame);
    noteAchievedSpeed();
    updateStatus();
}

void MainWindow::Timer3Timer() {
    if (impact_.state == 1) {
        impact_.state = 2;
    } else if (impact_.state == 2) {
        impact_.state = 0;
        Timer3->stop();
    }
}

void MainWindow::startImpactText(int x, int y) {
    impact_ = ImpactText{1, x, y};
    Timer3->start();  // a new impact restarts the animation
}

void MainWindow::radarPanelRefresh(int32_t row) {
    if (row == view_.selectedRadar && validRadar(world_, row)) {
        Panel2->refresh(row);
    }
}

void MainWindow::missileDetonated(const ImpactEvent& impact) {
    startImpactText(trunc32(impact.x), trunc32(impact.y));
}

void MainWindow::missileRemoved(int32_t row) {
    if (followMissileRemoval(view_, row)) {
        Form3->hide();
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
    setArmed(Button6, view_.moveAircraftMode);
    setArmed(Button3, view_.pickTargetMode);
    setArmed(Panel2->Button7, view_.radarPlaceMode);
    setArmed(Panel2->Button8, view_.captureMode);
    if (view_.pickTargetMode || view_.captureMode) {
        Image1->setCursor(Qt::CrossCursor);
    } else {
        Image1->unsetCursor();
    }
    HintLabel->setText(modeHint());
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
    if (Form3->isHidden()) {
        Form3->show();
    }
    Form3->refreshMissileWindow();
}

// "Добавить РЛС"
void MainWindow::Button12Click() {
    setEnabled(false);
    // Disabling a window disables its child windows too: the dialog (and the missile window,
    // a window of its own) stay usable.
    Form2->setEnabled(true);
    Form3->setEnabled(true);
    Form2->show();
    Form2->raise();
    Form2->activateWindow();
}

void MainWindow::onRadarsAdded() {
    // The last radar added is selected and waits for its place on the map.
    view_.selectedRadar = world_.radarCount - 1;
    view_.radarPlaceMode = true;
    view_.moveAircraftMode = false;
    // The new radar is selected: the aircraft selection gives way so that only one panel shows.
    if (view_.selectedAircraft != -1) {
        view_.selectedAircraft = -1;
        Panel1->hide();
        Button15->setEnabled(false);
    }
    ListBox2->hide();
    Panel2->show();
    radarPanelRefresh(view_.selectedRadar);
    Button13->setEnabled(validRadar(world_, view_.selectedRadar));
    updateModeIndicators();
}

void MainWindow::onForm2Closed() {
    setEnabled(true);
}

// "Убрать РЛС"
void MainWindow::Button13Click() {
    if (perform(change::onRadar(batch::Op::RemoveRadar, view_.selectedRadar))) {
        view_.selectedRadar = -1;
        // The modes that act on the selected radar have nothing left to act on.
        view_.radarPlaceMode = false;
        view_.captureMode = false;
        Panel2->hide();
        ListBox2->hide();
        Button13->setEnabled(false);
    }
    updateModeIndicators();
}

// "Добавить самолёт"
void MainWindow::Button14Click() {
    if (world_.aircraftCount >= kAircraftCapacity) {
        showNotice(QStringLiteral("Самолёт не добавлен: таблица самолётов заполнена (%1).")
                       .arg(kAircraftCapacity));
        return;
    }
    perform(change::addAircraft());
}

// "Убрать самолёт"
void MainWindow::Button15Click() {
    if (perform(change::onAircraft(batch::Op::RemoveAircraft, view_.selectedAircraft))) {
        view_.selectedAircraft = -1;
        // The modes that act on the selected aircraft have nothing left to act on.
        view_.moveAircraftMode = false;
        view_.pickTargetMode = false;
        Panel1->hide();
        Button15->setEnabled(false);
    }
    updateModeIndicators();
}

// member radars of a SAM complex
void MainWindow::ListBox2Click() {
    const int chosen = ListBox2->currentRow();
    if (ListBox2->count() == 0 || chosen < 0 || !validRadar(world_, view_.selectedRadar)) {
        return;
    }
    const int32_t complex = radarAt(world_, view_.selectedRadar).placedComplex;
    if (!validPlacedComplex(world_, complex)) {
        return;
    }
    const PlacedComplex& pc = placedComplexAt(world_, complex);
    // A member left behind by a radar removal is no radar any more: nothing to select.
    if (chosen >= pc.memberCount || !validRadar(world_, pc.members[chosen])) {
        return;
    }
    view_.selectedRadar = pc.members[chosen];
    radarPanelRefresh(view_.selectedRadar);
    updateModeIndicators();
}

}  // namespace prrsim::ui
