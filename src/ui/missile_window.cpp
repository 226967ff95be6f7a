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

void setLabel(QLabel* control, const QString& text) {
    control->setText(text);
    control->adjustSize();
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

void MissileWindow::refreshMissileWindow() {
    const int32_t row = view_.selectedMissile;
    if (!validMissile(world_, row)) {
        return;
    }
    const Missile& m = missileAt(world_, row);
    const MissileType& t = missileType(m.typeIndex);
    const LaunchMode& l = t.launchModes[m.launchModeIndex];

    setWindowTitle(missileName(world_, row) + QStringLiteral(" — ") + fromView(t.name));
    setLabel(launchModeLabel_, fromView(l.name));
    activateButton_->setEnabled(m.activated == 0);
    if (l.captureBeforeLaunch != 0) {
        seekerCaptureButton_->setText(m.capturing == 1 ? QStringLiteral("Отменить захват")
                                                       : QStringLiteral("Захват цели"));
    } else {
        seekerCaptureButton_->setText(QStringLiteral("Ввод данных"));
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
    setIndicator(activatedIndicator_, m.activated != 0 ? Indicator::Active : Indicator::Inactive);
    if (m.locked != 0 && m.capturing == 0) {
        setLabel(captureIndicator_, QStringLiteral("Захват"));
        setIndicator(captureIndicator_, Indicator::Active);
    } else if (m.capturing != 0 && m.locked == 0) {
        setLabel(captureIndicator_, QStringLiteral("Захват..."));
        setIndicator(captureIndicator_, Indicator::Capturing);
    } else if (m.capturing == 0 && m.locked == 0) {
        setLabel(captureIndicator_, QStringLiteral("Захват"));
        setIndicator(captureIndicator_, Indicator::Inactive);
    }
    setIndicator(launchedIndicator_, m.launched != 0 ? Indicator::Active : Indicator::Inactive);
    if (m.signalPresent != 0) {
        setLabel(signalIndicator_, QStringLiteral("Сигнал"));
        setIndicator(signalIndicator_, Indicator::Active);
    } else {
        setLabel(signalIndicator_, QStringLiteral("Нет сигнала"));
        setIndicator(signalIndicator_, Indicator::Inactive);
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
    captureHindranceLabel_->setText(
        explain ? hindranceText(captureHindrance(programCatalogs(), world_, m)) : QString());
}

void MissileWindow::showTargetParameters(const Missile& m, const MissileType& t) {
    if (t.measuresEmissionKind != 0 && m.emissionKindKnown != 0) {
        setLabel(emissionKindLabel_,
                 m.pulsed == 1 ? QStringLiteral("Импульсный") : QStringLiteral("Непрерывный"));
    } else {
        setLabel(emissionKindLabel_, QString());
    }
    prfLabel_->setVisible(t.measuresPrf != 0);
    setLabel(prfLabel_, QStringLiteral("ЧПИ ") + QString::number(m.prf));
    pulseLabel_->setVisible(t.measuresPulseWidth != 0);
    setLabel(pulseLabel_, QStringLiteral("tи ") + realText(m.pulseWidth));
    targetFrequencyLabel_->setVisible(t.measuresFrequency != 0);
    setLabel(targetFrequencyLabel_,
             QStringLiteral("Частота ") + QString::number(m.frequencyChannel));

    if (m.locked != 0 && m.signalPresent == 0) {
        setLabel(captureTimeLabel_, hundredthsText(m.lossTime));
        captureTimeLabel_->show();
    } else if (m.locked == 0 && m.signalPresent != 0) {
        setLabel(captureTimeLabel_, hundredthsText(m.signalTime));
        captureTimeLabel_->show();
    } else {
        captureTimeLabel_->hide();
    }

    targetRadarCaption_->setVisible(t.identifiesRadarType != 0);
    targetRadarEdit_->setVisible(t.identifiesRadarType != 0);
    // Nothing is shown until a radar type has been identified.
    const bool known = m.targetRadarType >= 0 && m.targetRadarType < radarTypeCount();
    targetRadarEdit_->setText(known ? fromView(radarType(m.targetRadarType).name) : QString());

    switch (m.targetPositionState) {
        case kTargetNone:
            setLabel(guidanceSourceLabel_, QStringLiteral("НЕТ"));
            break;
        case kTargetFromSeeker:
            setLabel(guidanceSourceLabel_, QStringLiteral("ЕСТЬ"));
            break;
        case kTargetInertial:
            setLabel(guidanceSourceLabel_, QStringLiteral("ИНЕРЦИАЛЬНОЕ"));
            break;
        default:
            setLabel(guidanceSourceLabel_, QString());
            break;
    }
    const bool frequencySearch = m.signalPresent == 0 && m.frequencyKnown == 1 &&
                                 m.signalParamsKnown == 1 && m.launched == 1;
    setLabel(frequencySearchLabel_,
             frequencySearch ? QStringLiteral("поиск по частоте") : QString());
    searchLabel_->setVisible(m.searchEnabled != 0);

    if (m.activated != 0) {
        drawSeekerPicture(m, t);
        if (m.launched == 0) {
            setLabel(trajectoryLabel_, QStringLiteral("Висит на подвеске"));
        } else if (m.guidanceMode == kHoming) {
            setLabel(trajectoryLabel_, m.directGuidance == 0
                                           ? QStringLiteral("Наведение с набором высоты")
                                           : QStringLiteral("Прямое наведение"));
        } else if (m.guidanceMode == kToWaitingPoint) {
            setLabel(trajectoryLabel_, QStringLiteral("В точку ожидания"));
        } else if (m.guidanceMode == kParachuteDescent) {
            setLabel(trajectoryLabel_, QStringLiteral("Спуск на парашюте"));
        }
    } else if (m.powerTime == 0) {
        // Never switched on (power is used only while it is on): the missile's own empty state,
        // not what another missile showed last. A missile whose power ran out keeps its last
        // picture and text.
        seekerImage_ = crossPicture();
        seekerPicture_->setPixmap(seekerImage_);
        setLabel(trajectoryLabel_, QStringLiteral("На цель"));
    }

    setLabel(targetCountLabel_, QString::number(m.receivedRadarCount));
    receivedList_->clear();
    for (int32_t i = 0; i < m.receivedRadarCount && i < kReceivedCapacity; ++i) {
        receivedList_->addItem(radarNumber(world_, m.receivedRadars[i]));
    }
    setLabel(objectCountLabel_, QString::number(m.receivedReflectionCount));
}

void MissileWindow::showFlightData(const Missile& m, const MissileType& t, const LaunchMode& l) {
    drawCompass(m);
    missileSpeedEdit_->setText(hundredthsText(m.speed));
    missileXEdit_->setText(hundredthsText(m.x));
    missileYEdit_->setText(hundredthsText(m.y));
    missileAltitudeEdit_->setText(hundredthsText(m.altitude));
    inertialXEdit_->setText(hundredthsText(m.insX));
    inertialYEdit_->setText(hundredthsText(m.insY));
    inertialAltitudeEdit_->setText(hundredthsText(m.insAltitude));

    // A type without burn time or power endurance divides by zero: the bar then shows empty
    // (NaN) or full/empty (infinity) rather than garbage.
    fuelBar_->setValue(barValue((1 - m.flightTime / t.burnTime) * 100));
    powerBar_->setValue(barValue((1 - m.powerTime / t.powerEndurance) * 100));
    fuelCaption_->setVisible(m.thrust >= 1);
    powerCaption_->setVisible(m.powerTime <= t.powerEndurance);

    seekerCaptureButton_->setEnabled(m.launched == 0);
    missileLaunchButton_->setEnabled(m.launched == 0);

    const bool distanceControls =
        m.launched == 0 && l.captureBeforeLaunch == 0 && l.startAtWaitingPoint == 0;
    seekerRangeCaption_->setVisible(distanceControls);
    seekerRangeLabel_->setVisible(distanceControls);
    seekerRangeSlider_->setVisible(distanceControls);
    if (distanceControls) {
        const QSignalBlocker blocker(seekerRangeSlider_);
        seekerRangeSlider_->setValue(m.seekerOnDistance);
        setLabel(seekerRangeLabel_, QString::number(m.seekerOnDistance));
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
    seekerPicture_->setPixmap(seekerImage_);
}

void MissileWindow::drawCompass(const Missile& m) {
    compassImage_ = compassWithNeedle(m.heading * kDegToRadFlight, 3);
    missileCompass_->setPixmap(compassImage_);
}

void MissileWindow::activate() {
    perform(change::onMissile(batch::Op::Activate, shownMissile_));
}

void MissileWindow::captureOrEnterData() {
    perform(change::onMissile(batch::Op::Capture, shownMissile_));
}

void MissileWindow::launch() {
    perform(change::onMissile(batch::Op::Launch, shownMissile_));
}

void MissileWindow::setSeekerRange(int position) {
    perform(change::onMissile(batch::Op::SeekerOnDistance, shownMissile_, position));
    setLabel(seekerRangeLabel_, QString::number(position));
}

}  // namespace prrsim::ui
