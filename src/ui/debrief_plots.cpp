// The debrief's plots: the chosen missile's samples over time and from the side, the present
// moment's line on the time plots and the target crew's reaction periods shaded.
#include "ui/debrief_window.h"

#include <QAreaSeries>
#include <QBuffer>
#include <QChart>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QMessageBox>
#include <QSplitter>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "review/event_log.h"
#include "review/reaction_periods.h"
#include "scenario/output_file.h"
#include "ui/event_log_window.h"
#include "ui/fonts.h"
#include "ui/ui_text.h"

namespace prrsim::ui {
namespace {

// A value for a plot: a sample's field, or nothing (a gap).
using Value = std::function<double(const review::MissileSample&)>;

double finiteOr(float value) {
    return std::isfinite(value) ? value : std::nan("");
}

struct Range {
    double low = INFINITY;
    double high = -INFINITY;
    void add(double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    // The range, widened where it is a single value; 0..1 when empty.
    std::pair<double, double> padded() const {
        if (!(low <= high)) {
            return {0, 1};
        }
        const double margin = high > low ? 0 : std::max(1.0, std::abs(low) * 0.05);
        return {low - margin, high + margin};
    }
};

void setAxis(QChart* chart, Qt::Orientation orientation, const QString& title, Range range) {
    auto* axis = static_cast<QValueAxis*>(chart->axes(orientation).constFirst());
    axis->setTitleText(title);
    const auto [low, high] = range.padded();
    axis->setRange(low, high);
    axis->applyNiceNumbers();
}

// Replaces the chart's curve by the samples' (x, y), in runs of one phase each in the phase's
// colour; a value that is not finite breaks the line.
void plotSamples(QChartView* view, std::span<const review::MissileSample> samples, const Value& x,
                 const Value& y, const QString& xTitle, const QString& yTitle,
                 bool reverseX = false, std::optional<double> threshold = {}) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    std::vector<QLineSeries*> runs;
    Range xs;
    Range ys;
    QLineSeries* run = nullptr;
    review::FlightPhase phase = review::FlightPhase::Carried;
    QPointF last;
    bool haveLast = false;
    for (const review::MissileSample& s : samples) {
        const double px = x(s);
        const double py = y(s);
        if (!std::isfinite(px) || !std::isfinite(py)) {
            run = nullptr;
            haveLast = false;
            continue;
        }
        if (run == nullptr || s.phase != phase) {
            run = new QLineSeries;
            QPen pen(flightPhaseColour(s.phase));
            pen.setWidth(2);
            run->setPen(pen);
            run->setName(flightPhaseLabel(s.phase));
            if (haveLast) {
                run->append(last);  // the runs join
            }
            runs.push_back(run);
            phase = s.phase;
        }
        last = QPointF(px, py);
        haveLast = true;
        run->append(last);
        xs.add(px);
        ys.add(py);
    }
    QLineSeries* line = nullptr;
    if (threshold && xs.low <= xs.high) {
        line = new QLineSeries;
        QPen pen(Qt::gray);
        pen.setStyle(Qt::DashLine);
        line->setPen(pen);
        line->setName(QStringLiteral("Порог чувствительности"));
        line->append(xs.low, *threshold);
        line->append(xs.high, *threshold);
        ys.add(*threshold);
        runs.push_back(line);
    }
    setAxis(chart, Qt::Horizontal, xTitle, xs);
    setAxis(chart, Qt::Vertical, yTitle, ys);
    static_cast<QValueAxis*>(chart->axes(Qt::Horizontal).constFirst())->setReverse(reverseX);
    for (QLineSeries* series : runs) {
        chart->addSeries(series);
        for (QAbstractAxis* axis : chart->axes()) {
            series->attachAxis(axis);
        }
    }
}

double seconds(const review::MissileSample& s) {
    return static_cast<double>(s.tick) / 100;
}

// Shades on a time plot the periods in which the crew of the missile's target radar reacted
// in the colour of the plots' key. A period still in force ends at `lastTick`.
const QColor kReactionShade(0, 128, 128, 45);

void shadeReactions(QChartView* view, std::span<const review::ReactionPeriod> periods,
                    int64_t lastTick) {
    QChart* chart = view->chart();
    const auto* y = qobject_cast<const QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    if (y == nullptr) {
        return;
    }
    for (const review::ReactionPeriod& period : periods) {
        const double from = seconds(review::MissileSample{period.begin});
        const double to = seconds(review::MissileSample{period.end >= 0 ? period.end : lastTick});
        auto* area = new QAreaSeries;
        auto* upper = new QLineSeries(area);
        auto* lower = new QLineSeries(area);
        upper->append({QPointF(from, y->max()), QPointF(to, y->max())});
        lower->append({QPointF(from, y->min()), QPointF(to, y->min())});
        area->setUpperSeries(upper);
        area->setLowerSeries(lower);
        area->setName(QStringLiteral("Реакция расчёта РЛС"));
        area->setBrush(kReactionShade);
        area->setPen(Qt::NoPen);
        chart->addSeries(area);
        for (QAbstractAxis* axis : chart->axes()) {
            area->attachAxis(axis);
        }
    }
}

}  // namespace

void DebriefWindow::placeMarkers() {
    markedTick_ = world_.events.tick;
    const double now = seconds(review::MissileSample{markedTick_});
    for (auto& [view, marker] : markers_) {
        const auto* x = static_cast<QValueAxis*>(view->chart()->axes(Qt::Horizontal).constFirst());
        const auto* y = static_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).constFirst());
        if (now >= x->min() && now <= x->max()) {
            marker->replace({QPointF(now, y->min()), QPointF(now, y->max())});
        } else {
            marker->clear();
        }
    }
}

std::optional<double> DebriefWindow::presentMarker(const QChartView* chart) const {
    for (const auto& [view, marker] : markers_) {
        if (view == chart && marker->count() == 2) {
            return marker->at(0).x();
        }
    }
    return std::nullopt;
}

void DebriefWindow::plot() {
    const std::span<const review::MissileSample> samples = store_.samples(chosen_);
    plotted_ = samples.size();
    const auto it = std::find_if(summaries_.begin(), summaries_.end(),
                                 [this](const auto& s) { return s.number == chosen_; });
    plottedEnd_ = it != summaries_.end() && it->endTick ? *it->endTick : -1;

    QString title = QStringLiteral("Выберите ракету в таблице.");
    std::optional<double> threshold;
    if (it != summaries_.end()) {
        const batch::MissileSummary& s = *it;
        title = QStringLiteral("<b>Ракета №%1 «%2»</b>, %3: %4")
                    .arg(s.number)
                    .arg(fromView(batch::missileTypeName(s.typeIndex)))
                    .arg(fromView(batch::launchModeName(s.typeIndex, s.launchModeIndex)))
                    .arg(fromView(batch::outcomeLabel(s.outcome)));
        if (s.missDistance) {
            title += QStringLiteral(", промах %1 м").arg(fixedText(*s.missDistance, 1));
        }
        if (s.typeIndex >= 0 && s.typeIndex < missileTypeCount() &&
            missileType(s.typeIndex).sensitivity > 0) {
            threshold = 10 * std::log10(missileType(s.typeIndex).sensitivity);
        }
    }
    // The phases met, as a key of colours.
    bool met[review::kFlightPhaseCount] = {};
    for (const review::MissileSample& s : samples) {
        met[static_cast<int>(s.phase)] = true;
    }
    QString key;
    for (int p = 0; p < review::kFlightPhaseCount; ++p) {
        if (met[p]) {
            const review::FlightPhase phase = static_cast<review::FlightPhase>(p);
            key += QStringLiteral("&nbsp;&nbsp;<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                       .arg(flightPhaseColour(phase).name(), flightPhaseLabel(phase));
        }
    }
    std::vector<review::ReactionPeriod> reactions;
    if (it != summaries_.end() && it->targetRadar > 0) {
        reactions = review::reactionPeriods(store_.events(), it->targetRadar);
    }
    if (!reactions.empty()) {
        key += QStringLiteral("&nbsp;&nbsp;<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                   .arg(QColor(kReactionShade.rgb()).name(),
                        QStringLiteral("реакция расчёта РЛС-цели"));
    }
    plotsTitle_->setText(title + (key.isEmpty() ? QString() : QStringLiteral("<br>") + key));

    const QString time = QStringLiteral("время, с");
    plotSamples(
        altitudeChart_, samples, seconds,
        [](const review::MissileSample& s) { return finiteOr(s.altitude); }, time,
        QStringLiteral("м"));
    plotSamples(
        distanceChart_, samples, seconds,
        [](const review::MissileSample& s) { return finiteOr(s.slantDistance) / 1000; }, time,
        QStringLiteral("км"));
    plotSamples(
        speedChart_, samples, seconds,
        [](const review::MissileSample& s) { return finiteOr(s.speed); }, time,
        QStringLiteral("км/ч"));
    plotSamples(
        powerChart_, samples, seconds,
        [](const review::MissileSample& s) {
            return s.power > 0 ? 10 * std::log10(static_cast<double>(s.power)) : std::nan("");
        },
        time, QStringLiteral("дБВт"), false, threshold);
    if (!samples.empty()) {
        for (QChartView* view : {altitudeChart_, distanceChart_, speedChart_, powerChart_}) {
            shadeReactions(view, reactions, samples.back().tick);
        }
    }
    markers_.clear();
    for (QChartView* view : {altitudeChart_, distanceChart_, speedChart_, powerChart_}) {
        auto* marker = new QLineSeries;
        QPen pen(QColor(90, 90, 90));
        pen.setStyle(Qt::DotLine);
        marker->setPen(pen);
        marker->setName(QStringLiteral("Текущий момент"));
        view->chart()->addSeries(marker);
        for (QAbstractAxis* axis : view->chart()->axes()) {
            marker->attachAxis(axis);
        }
        markers_.emplace_back(view, marker);
    }
    placeMarkers();
    plotSamples(
        sideChart_, samples,
        [](const review::MissileSample& s) { return finiteOr(s.groundDistance) / 1000; },
        [](const review::MissileSample& s) { return finiteOr(s.altitude); },
        QStringLiteral("дальность до цели по земле, км"), QStringLiteral("м"), true);
}

}  // namespace prrsim::ui
