#include "ui/missile_window.h"

#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "catalog/radar_catalog.h"
#include "missile/missile_control.h"
#include "missile/seeker/capture_hindrance.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/object_names.h"
#include "ui/pictures.h"
#include "ui/ui_text.h"
#include "world/geometry.h"

namespace prrsim::ui {

namespace {

const QColor kGray(128, 128, 128);
const QColor kMaroon(128, 0, 0);

QFont windowFont(bool bold, int pixels = 11) {
    return formFont(bold, pixels);
}

void setTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QString& caption,
              const QFont& font) {
    auto* control = makeLabel(name, caption, left, top, parent);
    control->setFont(font);
    control->adjustSize();
    return control;
}

void setLabel(QLabel* control, const QString& text) {
    control->setText(text);
    control->adjustSize();
}

QPushButton* button(QWidget* parent, const char* name, int left, int top, const QString& caption) {
    auto* control = makeButton(name, caption, {left, top, 121, 25}, parent);
    control->setFont(windowFont(false));
    return control;
}

QLineEdit* valueEdit(QWidget* parent, const char* name, int left, int top, int width) {
    auto* control = makeControl<QLineEdit>(name, {left, top, width, 21}, parent);
    control->setFont(windowFont(false));
    control->setReadOnly(true);
    control->setFrame(false);
    return control;
}

QProgressBar* bar(QWidget* parent, const char* name, int left, int top) {
    auto* control = makeControl<QProgressBar>(name, {left, top, 221, 16}, parent);
    control->setRange(0, 100);
    control->setValue(0);
    control->setTextVisible(false);
    return control;
}

// Indicator styles: active, inactive and capture in progress. The font keeps its other
// attributes (the signal indicator stays bold).
enum class Indicator { Active, Inactive, Capturing };

void setIndicator(QLabel* control, Indicator style) {
    QFont font = control->font();
    QColor colour;
    switch (style) {
        case Indicator::Active:
            font.setPointSize(12);
            colour = Qt::red;
            break;
        case Indicator::Inactive:
            font.setPointSize(8);
            colour = kGray;
            break;
        case Indicator::Capturing:
            font.setPointSize(10);
            colour = Qt::blue;
            break;
    }
    control->setFont(font);
    setTextColour(control, colour);
    control->adjustSize();
}

// A time or a position truncated to hundredths, in general number format.
QString hundredthsText(double v) {
    return realText(trunc32(v * 100) * 0.01);
}

// The bar shows values outside 0..100 as empty or full.
int barValue(double v) {
    return std::clamp(trunc32(v), 0, 100);
}

// Shapes follow the picture convention of the seeker display: the rectangle (x1, y1)-(x2, y2)
// covers the pixels from the smaller to just before the larger coordinate.
QRect boundsOf(int x1, int y1, int x2, int y2) {
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    return QRect(left, top, std::max(x1, x2) - left - 1, std::max(y1, y2) - top - 1);
}

void drawEllipse(QPainter& painter, double x1, double y1, double x2, double y2) {
    painter.drawEllipse(boundsOf(trunc32(x1), trunc32(y1), trunc32(x2), trunc32(y2)));
}

void drawLine(QPainter& painter, double x1, double y1, double x2, double y2) {
    painter.drawLine(QPoint(trunc32(x1), trunc32(y1)), QPoint(trunc32(x2), trunc32(y2)));
}

QPen pen(const QColor& colour, int width) {
    QPen p(colour, width);
    p.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

}  // namespace

MissileWindow::MissileWindow(WorldState& world, ViewState& view, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      perform(applyDirectly(world)),
      world_(world),
      view_(view) {
    setObjectName(QStringLiteral("missileWindow"));
    setFont(windowFont(false));
    setFixedSize(321, 448);
    move(269, 135);
    createControls();
    createTargetParameters();
    createFlightData();

    setTips({
        {Button1, QStringLiteral("Включить питание ракеты")},
        {Button2, QStringLiteral("Начать или отменить захват цели головкой самонаведения")},
        {Button3, QStringLiteral("Пуск ракеты")},
        {ListBox1, QStringLiteral("Номера РЛС, принимаемых ГСН")},
        {TrackBar1, QStringLiteral("Расстояние до цели, на котором включается ГСН, км 0 … 100")},
        {Edit8, QStringLiteral("Тип РЛС, опознанный ГСН")},
        {Edit1, QStringLiteral("Скорость ракеты, км/ч")},
        {Edit2, QStringLiteral("X ракеты на карте, пиксели (1 пиксель = 100 м)")},
        {Edit3, QStringLiteral("Y ракеты на карте, пиксели (1 пиксель = 100 м)")},
        {Edit4, QStringLiteral("Высота ракеты, сотни метров")},
        {Edit5, QStringLiteral("X по инерциальной системе, пиксели")},
        {Edit6, QStringLiteral("Y по инерциальной системе, пиксели")},
        {Edit7, QStringLiteral("Высота по инерциальной системе, сотни метров")},
    });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(TrackBar1, &QSlider::valueChanged, this, [this](int p) { TrackBar1Change(p); });
}

void MissileWindow::createControls() {
    const QFont normal = windowFont(false);
    const QFont bold = windowFont(true);
    Label19 = label(this, "Label19", 8, 6, QStringLiteral("Режим"), bold);
    Label20 = label(this, "Label20", 63, 6, QString(), normal);
    Button1 = button(this, "Button1", 2, 24, QStringLiteral("Активировать ракету"));
    Button2 = button(this, "Button2", 2, 48, QStringLiteral("Захват цели"));
    Button3 = button(this, "Button3", 2, 73, QStringLiteral("ПУСК"));
    Label2 = label(this, "Label2", 130, 30, QStringLiteral("Активирована"), normal);
    Label1 = label(this, "Label1", 130, 54, QStringLiteral("Захват"), normal);
    Label10 = label(this, "Label10", 130, 78, QStringLiteral("Ракета пущена"), normal);
    Label11 = label(this, "Label11", 243, 30, QStringLiteral("Сигнал"), windowFont(true, 13));
    Label14 = label(this, "Label14", 245, 54, QString(), normal);
    Label16 = label(this, "Label16", 183, 53, QStringLiteral("ПОИСК"), windowFont(false, 13));
    setTextColour(Label16, Qt::red);
    Label16->hide();

    Image1 = makeControl<QLabel>("Image1", {3, 101, 62, 61}, this);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    seekerImage_ = crossPicture();
    Image1->setPixmap(seekerImage_);

    ListBox1 = makeControl<QListWidget>("ListBox1", {80, 99, 33, 62}, this);
    ListBox1->setFont(normal);
    Label12 = label(this, "Label12", 120, 99, QStringLiteral("Целей"), normal);
    Label13 = label(this, "Label13", 120, 115, QString(), normal);
    Label24 = label(this, "Label24", 118, 125, QStringLiteral("Объектов"), normal);
    Label25 = label(this, "Label25", 121, 141, QString(), normal);
    captureHindranceLabel = makeControl<QLabel>("captureHindranceLabel", {170, 99, 148, 62}, this);
    captureHindranceLabel->setFont(normal);
    captureHindranceLabel->setWordWrap(true);
    captureHindranceLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(captureHindranceLabel, Qt::red);
}

void MissileWindow::createTargetParameters() {
    const QFont normal = windowFont(false);
    const QFont bold = windowFont(true);
    GroupBox2 = makeControl<QGroupBox>("GroupBox2", {1, 163, 320, 117}, this);
    GroupBox2->setTitle(QStringLiteral("Параметры цели"));
    GroupBox2->setFont(windowFont(true, 13));
    QWidget* g = GroupBox2;
    Label18 = label(g, "Label18", 8, 27, QStringLiteral("РЛС"), bold);
    Edit8 = makeControl<QLineEdit>("Edit8", {42, 25, 271, 21}, g);
    Edit8->setFont(normal);
    Label21 = label(g, "Label21", 8, 53, QStringLiteral("ЧПИ"), bold);
    Label22 = label(g, "Label22", 80, 53, QStringLiteral("tи"), bold);
    Label23 = label(g, "Label23", 136, 53, QStringLiteral("Частота"), bold);
    Label32 = label(g, "Label32", 236, 54, QString(), normal);
    setTextColour(Label32, kMaroon);
    Label30 = label(g, "Label30", 8, 74, QStringLiteral("Наведение"), normal);
    Label26 = label(g, "Label26", 101, 76, QString(), normal);
    setTextColour(Label26, Qt::red);
    Label33 = label(g, "Label33", 235, 76, QString(), bold);
    setTextColour(Label33, kMaroon);
    Label27 = label(g, "Label27", 8, 95, QStringLiteral("Расстояние для включения ГСН"), normal);
    TrackBar1 = new QSlider(Qt::Horizontal, g);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    // The value stands right of the bar, clear of its groove.
    TrackBar1->setGeometry(172, 93, 110, 17);
    TrackBar1->setRange(0, 100);
    TrackBar1->setValue(0);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    Label28 = label(g, "Label28", 287, 95, QString(), normal);
}

void MissileWindow::createFlightData() {
    const QFont normal = windowFont(false);
    const QFont bold = windowFont(true);
    GroupBox1 = makeControl<QGroupBox>("GroupBox1", {1, 278, 320, 168}, this);
    GroupBox1->setTitle(QStringLiteral("Движение ракеты"));
    GroupBox1->setFont(windowFont(true, 13));
    QWidget* g = GroupBox1;
    Label3 = label(g, "Label3", 7, 19, QStringLiteral("Курс"), bold);
    Label9 = label(g, "Label9", 47, 18, QString(), normal);
    Label4 = label(g, "Label4", 85, 20, QStringLiteral("Скорость"), bold);
    Edit1 = valueEdit(g, "Edit1", 157, 18, 100);
    Image2 = makeControl<QLabel>("Image2", {7, 42, 62, 62}, g);
    compassImage_ = compassPicture();
    Image2->setPixmap(compassImage_);
    Label5 = label(g, "Label5", 86, 41, QStringLiteral("Координаты"), normal);
    Label8 = label(g, "Label8", 218, 41, QStringLiteral("Высота"), bold);
    Label6 = label(g, "Label6", 72, 65, QStringLiteral("X"), bold);
    Label7 = label(g, "Label7", 145, 65, QStringLiteral("Y"), bold);
    Edit2 = valueEdit(g, "Edit2", 85, 60, 58);
    Edit3 = valueEdit(g, "Edit3", 158, 60, 58);
    Edit4 = valueEdit(g, "Edit4", 219, 60, 90);
    Edit5 = valueEdit(g, "Edit5", 85, 84, 58);
    Edit6 = valueEdit(g, "Edit6", 158, 84, 58);
    Edit7 = valueEdit(g, "Edit7", 219, 84, 90);
    Label15 = label(g, "Label15", 14, 109, QStringLiteral("Топливо"), bold);
    setTextColour(Label15, Qt::red);
    ProgressBar1 = bar(g, "ProgressBar1", 86, 109);
    Label29 = label(g, "Label29", 15, 128, QStringLiteral("Питание"), bold);
    setTextColour(Label29, Qt::red);
    ProgressBar2 = bar(g, "ProgressBar2", 86, 128);
    Label31 = label(g, "Label31", 3, 146, QStringLiteral("Траектория"), normal);
    Label17 = label(g, "Label17", 97, 148, QStringLiteral("На цель"), bold);
    setTextColour(Label17, Qt::red);
}

void MissileWindow::refreshMissileWindow() {
    const int32_t row = view_.selectedMissile;
    if (!validMissile(world_, row)) {
        return;
    }
    const Missile& m = missileAt(world_, row);
    const MissileType& t = missileType(m.typeIndex);
    const LaunchMode& l = t.launchModes[m.launchModeIndex];

    setWindowTitle(missileName(world_, row) + QStringLiteral(" — ") + fromView(t.name));
    setLabel(Label20, fromView(l.name));
    Button1->setEnabled(m.activated == 0);
    if (l.captureBeforeLaunch != 0) {
        Button2->setText(m.capturing == 1 ? QStringLiteral("Отменить захват")
                                          : QStringLiteral("Захват цели"));
    } else {
        Button2->setText(QStringLiteral("Ввод данных"));
    }
    showIndicators(m);
    showCaptureHindrance(m);
    showTargetParameters(m, t);
    showFlightData(m, t, l);

    shownMissile_ = row;
    shownType_ = &t;
    shownLaunchMode_ = &l;
    designatedRadar_ = designatedRadarOf(world_, m);
}

void MissileWindow::showIndicators(const Missile& m) {
    setIndicator(Label2, m.activated != 0 ? Indicator::Active : Indicator::Inactive);
    if (m.locked != 0 && m.capturing == 0) {
        setLabel(Label1, QStringLiteral("Захват"));
        setIndicator(Label1, Indicator::Active);
    } else if (m.capturing != 0 && m.locked == 0) {
        setLabel(Label1, QStringLiteral("Захват..."));
        setIndicator(Label1, Indicator::Capturing);
    } else if (m.capturing == 0 && m.locked == 0) {
        setLabel(Label1, QStringLiteral("Захват"));
        setIndicator(Label1, Indicator::Inactive);
    }
    setIndicator(Label10, m.launched != 0 ? Indicator::Active : Indicator::Inactive);
    if (m.signalPresent != 0) {
        setLabel(Label11, QStringLiteral("Сигнал"));
        setIndicator(Label11, Indicator::Active);
    } else {
        setLabel(Label11, QStringLiteral("Нет сигнала"));
        setIndicator(Label11, Indicator::Inactive);
    }
}

namespace {

// A capture silent this long says why.
constexpr int64_t kSilentCaptureTicks = 100;  // 1 s

QString hindranceText(CaptureHindrance h) {
    switch (h) {
        case CaptureHindrance::NoRadarInView:
            return QStringLiteral("Нет излучающих РЛС в поле зрения ГСН");
        case CaptureHindrance::OutOfBand:
            return QStringLiteral("Излучение вне диапазона ГСН");
        case CaptureHindrance::BelowThreshold:
            return QStringLiteral("Сигнал слабее порога чувствительности ГСН");
        case CaptureHindrance::None:
            break;
    }
    return QString();
}

}  // namespace

void MissileWindow::showCaptureHindrance(const Missile& m) {
    const bool silent = m.capturing != 0 && m.locked == 0 && m.signalPresent == 0;
    const int64_t now = world_.events.tick;
    if (!silent) {
        silentSince_ = -1;
    } else if (silentSince_ < 0 || silentMissile_ != m.review.number || now < silentSince_) {
        silentSince_ = now;
        silentMissile_ = m.review.number;
    }
    const bool explain = silent && now - silentSince_ >= kSilentCaptureTicks;
    captureHindranceLabel->setText(
        explain ? hindranceText(captureHindrance(programCatalogs(), world_, m)) : QString());
}

void MissileWindow::showTargetParameters(const Missile& m, const MissileType& t) {
    if (t.measuresEmissionKind != 0 && m.emissionKindKnown != 0) {
        setLabel(Label32,
                 m.pulsed == 1 ? QStringLiteral("Импульсный") : QStringLiteral("Непрерывный"));
    } else {
        setLabel(Label32, QString());
    }
    Label21->setVisible(t.measuresPrf != 0);
    setLabel(Label21, QStringLiteral("ЧПИ ") + QString::number(m.prf));
    Label22->setVisible(t.measuresPulseWidth != 0);
    setLabel(Label22, QStringLiteral("tи ") + realText(m.pulseWidth));
    Label23->setVisible(t.measuresFrequency != 0);
    setLabel(Label23, QStringLiteral("Частота ") + QString::number(m.frequencyChannel));

    if (m.locked != 0 && m.signalPresent == 0) {
        setLabel(Label14, hundredthsText(m.lossTime));
        Label14->show();
    } else if (m.locked == 0 && m.signalPresent != 0) {
        setLabel(Label14, hundredthsText(m.signalTime));
        Label14->show();
    } else {
        Label14->hide();
    }

    Label18->setVisible(t.identifiesRadarType != 0);
    Edit8->setVisible(t.identifiesRadarType != 0);
    // Nothing is shown until a radar type has been identified.
    const bool known = m.targetRadarType >= 0 && m.targetRadarType < radarTypeCount();
    Edit8->setText(known ? fromView(radarType(m.targetRadarType).name) : QString());

    switch (m.targetPositionState) {
        case kTargetNone:
            setLabel(Label26, QStringLiteral("НЕТ"));
            break;
        case kTargetFromSeeker:
            setLabel(Label26, QStringLiteral("ЕСТЬ"));
            break;
        case kTargetInertial:
            setLabel(Label26, QStringLiteral("ИНЕРЦИАЛЬНОЕ"));
            break;
        default:
            setLabel(Label26, QString());
            break;
    }
    const bool frequencySearch = m.signalPresent == 0 && m.frequencyKnown == 1 &&
                                 m.signalParamsKnown == 1 && m.launched == 1;
    setLabel(Label33, frequencySearch ? QStringLiteral("поиск по частоте") : QString());
    Label16->setVisible(m.searchEnabled != 0);

    if (m.activated != 0) {
        drawSeekerPicture(m, t);
        if (m.launched == 0) {
            setLabel(Label17, QStringLiteral("Висит на подвеске"));
        } else if (m.guidanceMode == kHoming) {
            setLabel(Label17, m.directGuidance == 0 ? QStringLiteral("Наведение с набором высоты")
                                                    : QStringLiteral("Прямое наведение"));
        } else if (m.guidanceMode == kToWaitingPoint) {
            setLabel(Label17, QStringLiteral("В точку ожидания"));
        } else if (m.guidanceMode == kParachuteDescent) {
            setLabel(Label17, QStringLiteral("Спуск на парашюте"));
        }
    } else if (m.powerTime == 0) {
        // Never switched on (power is used only while it is on): the missile's own empty state,
        // not what another missile showed last. A missile whose power ran out keeps its last
        // picture and text.
        seekerImage_ = crossPicture();
        Image1->setPixmap(seekerImage_);
        setLabel(Label17, QStringLiteral("На цель"));
    }

    setLabel(Label13, QString::number(m.receivedRadarCount));
    ListBox1->clear();
    for (int32_t i = 0; i < m.receivedRadarCount && i < kReceivedCapacity; ++i) {
        ListBox1->addItem(radarNumber(world_, m.receivedRadars[i]));
    }
    setLabel(Label25, QString::number(m.receivedReflectionCount));
}

void MissileWindow::showFlightData(const Missile& m, const MissileType& t, const LaunchMode& l) {
    drawCompass(m);
    Edit1->setText(hundredthsText(m.speed));
    Edit2->setText(hundredthsText(m.x));
    Edit3->setText(hundredthsText(m.y));
    Edit4->setText(hundredthsText(m.altitude));
    Edit5->setText(hundredthsText(m.insX));
    Edit6->setText(hundredthsText(m.insY));
    Edit7->setText(hundredthsText(m.insAltitude));

    // A type without burn time or power endurance divides by zero: the bar then shows empty
    // (NaN) or full/empty (infinity) rather than garbage.
    ProgressBar1->setValue(barValue((1 - m.flightTime / t.burnTime) * 100));
    ProgressBar2->setValue(barValue((1 - m.powerTime / t.powerEndurance) * 100));
    Label15->setVisible(m.thrust >= 1);
    Label29->setVisible(m.powerTime <= t.powerEndurance);

    Button2->setEnabled(m.launched == 0);
    Button3->setEnabled(m.launched == 0);

    const bool distanceControls =
        m.launched == 0 && l.captureBeforeLaunch == 0 && l.startAtWaitingPoint == 0;
    Label27->setVisible(distanceControls);
    Label28->setVisible(distanceControls);
    TrackBar1->setVisible(distanceControls);
    if (distanceControls) {
        const QSignalBlocker blocker(TrackBar1);
        TrackBar1->setValue(m.seekerOnDistance);
        setLabel(Label28, QString::number(m.seekerOnDistance));
    }
}

void MissileWindow::drawSeekerPicture(const Missile& m, const MissileType& t) {
    seekerImage_ = crossPicture();
    QPainter painter(&seekerImage_);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Steering commands, only at full deflection; the vertical line points down for a climb.
    painter.setPen(pen(Qt::black, 3));
    if (std::abs(trunc32(m.turnCommand)) > 0.3) {
        drawLine(painter, 31, 31, 31 + 31 * m.turnCommand, 31);
    }
    if (std::abs(trunc32(m.climbCommand)) > 0.3) {
        drawLine(painter, 31, 31, 31, 31 + 31 * m.climbCommand);
    }

    // Target: right of centre is right of the heading, up is above the pitch.
    painter.setBrush(Qt::red);
    painter.setPen(pen(Qt::black, 1));
    const double ax = angleDiff(m.heading, m.bearingToTarget) * 31 / 45;
    const double ay = angleDiff(m.pitch, m.elevationToTarget) * 31 / 45;
    drawEllipse(painter, 31 + ax - 2, 31 - ay - 2, 31 + ax + 2, 31 - ay + 2);

    // Radars received directly in the last seeker step.
    painter.setBrush(QColor(0, 128, 0));
    for (int32_t i = 0; i < m.receivedRadarCount && i < kReceivedCapacity; ++i) {
        const int32_t r = m.receivedRadars[i];
        if (!validRadar(world_, r)) {
            continue;  // the radar has left the table since the seeker step
        }
        const RadarSite& radar = radarAt(world_, r);
        const double bx = angleDiff(m.heading, bearingDeg(m.x, m.y, radar.x, radar.y)) * 31 / 45;
        const double dist = std::sqrt(square(radar.x - m.x) + square(radar.y - m.y));
        const double by =
            angleDiff(m.pitch, bearingDeg(0, m.altitude, dist, radar.height)) * 31 / 45;
        drawEllipse(painter, 31 + bx - 1, 31 - by - 1, 31 + bx + 1, 31 - by + 1);
    }

    // Antenna beam: the field of view is a full width.
    painter.setBrush(Qt::NoBrush);
    const double hx = 31 * m.headAzimuth / 45;
    const double hy = 31 * m.headElevation / 45;
    const double fx = 15.5 * t.fieldOfViewAz / 45;
    const double fy = 15.5 * t.fieldOfViewEl / 45;
    drawEllipse(painter, 31 + hx - fx, 31 - hy - fy, 31 + hx + fx, 31 - hy + fy);

    // Horizon.
    painter.setPen(pen(kMaroon, 1));
    const double py = angleDiff(0, m.pitch) * 31 / 45;
    drawLine(painter, 0, 31 + py, 62, 31 + py);

    // Antenna limits: half the azimuth limit on each side.
    painter.setPen(pen(Qt::black, 1));
    const double gx = t.headAzimuthLimit * 15.5 / 45;
    const int32_t gt = (t.headElevationMax * 31) / 45;
    const int32_t gb = (t.headElevationMin * 31) / 45;
    painter.drawRect(boundsOf(trunc32(31 + gx), 31 - gt, trunc32(31 - gx), 31 - gb));
    painter.end();
    Image1->setPixmap(seekerImage_);
}

void MissileWindow::drawCompass(const Missile& m) {
    compassImage_ = compassWithNeedle(m.heading * kDegToRadFlight, 3);
    Image2->setPixmap(compassImage_);
}

void MissileWindow::Button1Click() {
    perform(change::onMissile(batch::Op::Activate, shownMissile_));
}

void MissileWindow::Button2Click() {
    perform(change::onMissile(batch::Op::Capture, shownMissile_));
}

void MissileWindow::Button3Click() {
    perform(change::onMissile(batch::Op::Launch, shownMissile_));
}

void MissileWindow::TrackBar1Change(int position) {
    perform(change::onMissile(batch::Op::SeekerOnDistance, shownMissile_, position));
    setLabel(Label28, QString::number(position));
}

}  // namespace prrsim::ui
