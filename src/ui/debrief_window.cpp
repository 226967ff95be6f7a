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

#include "review/event_log.h"
#include "review/reaction_periods.h"
#include "scenario/output_file.h"
#include "catalog/missile_catalog.h"
#include "ui/event_log_window.h"
#include "ui/fonts.h"
#include "ui/ui_text.h"

namespace prrsim::ui {

namespace {

QString fixed(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    text.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator()));
    return text;
}

QString dash() {
    return QStringLiteral("—");
}

QString tickText(const std::optional<int64_t>& tick) {
    return tick ? clockText(*tick) : dash();
}

QString targetText(const batch::MissileSummary& s) {
    return s.targetRadar > 0 ? QStringLiteral("РЛС №%1 «%2»")
                                   .arg(s.targetRadar)
                                   .arg(fromView(batch::radarTypeName(s.targetRadarType)))
                             : dash();
}

QString missText(const batch::MissileSummary& s) {
    return s.missDistance ? fixed(*s.missDistance, 1) : dash();
}

enum Column {
    kNumber,
    kType,
    kLaunchMode,
    kCarrier,
    kTarget,
    kLaunch,
    kFirstLock,
    kOutcome,
    kMiss,
    kTimeOfFlight,
    kColumnCount
};

QStringList rowTexts(const batch::MissileSummary& s) {
    QStringList texts;
    texts << QString::number(s.number) << fromView(batch::missileTypeName(s.typeIndex))
          << fromView(batch::launchModeName(s.typeIndex, s.launchModeIndex))
          << QStringLiteral("самолёт №%1").arg(s.carrier) << targetText(s) << tickText(s.launchTick)
          << tickText(s.firstLockTick) << fromView(batch::outcomeLabel(s.outcome)) << missText(s)
          << (s.timeOfFlight ? fixed(*s.timeOfFlight, 2) : dash());
    return texts;
}

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

QChartView* makeChart(const char* name, const QString& title, QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(formFont(true, 11));
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    const QFont font = formFont(false, 10);
    for (const Qt::Alignment side : {Qt::AlignBottom, Qt::AlignLeft}) {
        auto* axis = new QValueAxis;
        axis->setLabelFormat(QStringLiteral("%.0f"));
        axis->setLabelsFont(font);
        axis->setTitleFont(font);
        chart->addAxis(axis, side);
    }
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(280, 190);
    return view;
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

QString flightPhaseLabel(review::FlightPhase phase) {
    switch (phase) {
        case review::FlightPhase::Carried:
            return QStringLiteral("На подвеске");
        case review::FlightPhase::ClimbProfile:
            return QStringLiteral("Профиль набора высоты");
        case review::FlightPhase::DirectHoming:
            return QStringLiteral("Прямое наведение");
        case review::FlightPhase::ToWaitingPoint:
            return QStringLiteral("В точку ожидания");
        case review::FlightPhase::Parachute:
            return QStringLiteral("Парашют");
        case review::FlightPhase::PowerOut:
            return QStringLiteral("Питание исчерпано");
    }
    return {};
}

QColor flightPhaseColour(review::FlightPhase phase) {
    switch (phase) {
        case review::FlightPhase::Carried:
            return QColor(128, 128, 128);
        case review::FlightPhase::ClimbProfile:
            return QColor(0, 110, 220);
        case review::FlightPhase::DirectHoming:
            return QColor(220, 0, 0);
        case review::FlightPhase::ToWaitingPoint:
            return QColor(230, 140, 0);
        case review::FlightPhase::Parachute:
            return QColor(0, 150, 0);
        case review::FlightPhase::PowerOut:
            return QColor(0, 0, 0);
    }
    return {};
}

DebriefWindow::DebriefWindow(const WorldState& world, const review::ReviewStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window), world_(world), store_(store) {
    setObjectName(QStringLiteral("DebriefWindow"));
    setWindowTitle(QStringLiteral("Разбор"));
    setFont(formFont());
    resize(1000, 720);

    Table = new QTableWidget(0, kColumnCount, this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setHorizontalHeaderLabels(
        {QStringLiteral("Ракета №"), QStringLiteral("Тип"), QStringLiteral("Режим пуска"),
         QStringLiteral("Носитель"), QStringLiteral("Цель"), QStringLiteral("Пуск"),
         QStringLiteral("Первый захват"), QStringLiteral("Исход"), QStringLiteral("Промах, м"),
         QStringLiteral("Время полёта, с")});
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 4);
    Table->horizontalHeader()->setStretchLastSection(true);
    connect(Table, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(summaries_.size())) {
            chooseMissile(summaries_[static_cast<size_t>(row)].number);
        }
    });

    TableExportButton = new QPushButton(QStringLiteral("Таблица CSV…"), this);
    TableExportButton->setObjectName(QStringLiteral("TableExportButton"));
    PlotsExportButton = new QPushButton(QStringLiteral("Графики PNG, SVG…"), this);
    PlotsExportButton->setObjectName(QStringLiteral("PlotsExportButton"));
    connect(TableExportButton, &QPushButton::clicked, this, &DebriefWindow::TableExportClick);
    connect(PlotsExportButton, &QPushButton::clicked, this, &DebriefWindow::PlotsExportClick);

    Plots = new QWidget(this);
    Plots->setObjectName(QStringLiteral("Plots"));
    Plots->setAutoFillBackground(true);
    PlotsTitle = new QLabel(Plots);
    PlotsTitle->setObjectName(QStringLiteral("PlotsTitle"));
    PlotsTitle->setTextFormat(Qt::RichText);
    AltitudeChart = makeChart("AltitudeChart", QStringLiteral("Высота"), Plots);
    DistanceChart = makeChart("DistanceChart", QStringLiteral("Дальность до цели"), Plots);
    SpeedChart = makeChart("SpeedChart", QStringLiteral("Скорость"), Plots);
    PowerChart = makeChart("PowerChart", QStringLiteral("Мощность сигнала цели"), Plots);
    SideChart =
        makeChart("SideChart", QStringLiteral("Вид сбоку: высота над дальностью до цели"), Plots);
    auto* grid = new QGridLayout(Plots);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->addWidget(PlotsTitle, 0, 0, 1, 3);
    grid->addWidget(AltitudeChart, 1, 0);
    grid->addWidget(DistanceChart, 1, 1);
    grid->addWidget(SpeedChart, 1, 2);
    grid->addWidget(PowerChart, 2, 0);
    grid->addWidget(SideChart, 2, 1, 1, 2);

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(Table);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(TableExportButton);
    buttons->addStretch(1);
    buttons->addWidget(PlotsExportButton);
    topLayout->addLayout(buttons);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(Plots);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({160, 560});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    askExportFile = [this](const QString& title, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(this, title, suggested, filter);
    };
    showNotice = [this](const QString& text) {
        QMessageBox::information(this, windowTitle(), text);
    };
    plot();
}

void DebriefWindow::refresh() {
    if (store_.generation() != generation_) {
        generation_ = store_.generation();
        chosen_ = 0;
        plotted_ = 0;
    }
    summaries_ = store_.summaries();
    fillTable();
    if (chosen_ == 0 && !summaries_.empty()) {
        chooseMissile(summaries_.front().number);
        return;
    }
    const size_t count = store_.samples(chosen_).size();
    const auto it = std::find_if(summaries_.begin(), summaries_.end(),
                                 [this](const auto& s) { return s.number == chosen_; });
    const int64_t end = it != summaries_.end() && it->endTick ? *it->endTick : -1;
    if (count != plotted_ || end != plottedEnd_) {
        plot();
    } else if (markedTick_ != world_.events.tick) {
        placeMarkers();
    }
}

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

void DebriefWindow::fillTable() {
    const int rows = static_cast<int>(summaries_.size());
    const bool grew = Table->rowCount() != rows;
    Table->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const QStringList texts = rowTexts(summaries_[static_cast<size_t>(row)]);
        for (int column = 0; column < kColumnCount; ++column) {
            QTableWidgetItem* item = Table->item(row, column);
            if (item == nullptr) {
                Table->setItem(row, column, new QTableWidgetItem(texts[column]));
            } else if (item->text() != texts[column]) {
                item->setText(texts[column]);
            }
        }
    }
    if (grew) {
        Table->resizeColumnsToContents();
    }
}

void DebriefWindow::chooseMissile(int32_t number) {
    chosen_ = number;
    for (size_t row = 0; row < summaries_.size(); ++row) {
        if (summaries_[row].number == number && Table->currentRow() != static_cast<int>(row)) {
            Table->selectRow(static_cast<int>(row));
        }
    }
    plot();
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
            title += QStringLiteral(", промах %1 м").arg(fixed(*s.missDistance, 1));
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
    PlotsTitle->setText(title + (key.isEmpty() ? QString() : QStringLiteral("<br>") + key));

    const QString time = QStringLiteral("время, с");
    plotSamples(
        AltitudeChart, samples, seconds,
        [](const review::MissileSample& s) { return finiteOr(s.altitude); }, time, QStringLiteral("м"));
    plotSamples(
        DistanceChart, samples, seconds,
        [](const review::MissileSample& s) { return finiteOr(s.slantDistance) / 1000; }, time,
        QStringLiteral("км"));
    plotSamples(
        SpeedChart, samples, seconds, [](const review::MissileSample& s) { return finiteOr(s.speed); },
        time, QStringLiteral("км/ч"));
    plotSamples(
        PowerChart, samples, seconds,
        [](const review::MissileSample& s) {
            return s.power > 0 ? 10 * std::log10(static_cast<double>(s.power)) : std::nan("");
        },
        time, QStringLiteral("дБВт"), false, threshold);
    if (!samples.empty()) {
        for (QChartView* view : {AltitudeChart, DistanceChart, SpeedChart, PowerChart}) {
            shadeReactions(view, reactions, samples.back().tick);
        }
    }
    markers_.clear();
    for (QChartView* view : {AltitudeChart, DistanceChart, SpeedChart, PowerChart}) {
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
        SideChart, samples,
        [](const review::MissileSample& s) { return finiteOr(s.groundDistance) / 1000; },
        [](const review::MissileSample& s) { return finiteOr(s.altitude); },
        QStringLiteral("дальность до цели по земле, км"), QStringLiteral("м"), true);
}

bool DebriefWindow::exportTableCsv(const QString& path) {
    summaries_ = store_.summaries();
    batch::OutputFile file(QFile::encodeName(path).toStdString());
    if (file.open()) {
        batch::writeMissileSummaryCsv(file.stream(), summaries_);
        if (file.commit()) {
            return true;
        }
    }
    showNotice(QStringLiteral("Таблица не сохранена: не удалось записать файл %1.").arg(path));
    return false;
}

bool DebriefWindow::exportPlots(const QString& path) {
    // Drawn into memory, then written through the checked writer as every saved file is.
    QBuffer image;
    image.open(QIODevice::WriteOnly);
    bool written = false;
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&image);
        svg.setSize(Plots->size());
        svg.setViewBox(QRect(QPoint(0, 0), Plots->size()));
        svg.setTitle(windowTitle());
        QPainter painter;
        written = painter.begin(&svg);
        if (written) {
            Plots->render(&painter);
            written = painter.end();
        }
    } else {
        written = Plots->grab().save(&image, "PNG");
    }
    written = written && !batch::writeWholeFile(QFile::encodeName(path).toStdString(),
                                                std::string_view(image.data().constData(),
                                                                 static_cast<size_t>(
                                                                     image.data().size())));
    if (!written) {
        showNotice(QStringLiteral("Графики не сохранены: не удалось записать файл %1.").arg(path));
    }
    return written;
}

void DebriefWindow::TableExportClick() {
    const QString path =
        askExportFile(QStringLiteral("Сохранить таблицу"), QStringLiteral("разбор.csv"),
                      QStringLiteral("Таблица CSV (*.csv)"));
    if (!path.isEmpty()) {
        exportTableCsv(path);
    }
}

void DebriefWindow::PlotsExportClick() {
    const QString path = askExportFile(QStringLiteral("Сохранить графики"),
                                       QStringLiteral("ракета-%1.png").arg(chosen_),
                                       QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));
    if (!path.isEmpty()) {
        exportPlots(path);
    }
}

}  // namespace prrsim::ui
