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
    return s.missDistance ? fixedText(*s.missDistance, 1) : dash();
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
          << (s.timeOfFlight ? fixedText(*s.timeOfFlight, 2) : dash());
    return texts;
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

DebriefWindow::DebriefWindow(const WorldState& world, const review::ReviewStore& store,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), world_(world), store_(store) {
    setObjectName(QStringLiteral("debriefWindow"));
    setWindowTitle(QStringLiteral("Разбор"));
    setFont(formFont());
    resize(1000, 720);

    missileTable_ = new QTableWidget(0, kColumnCount, this);
    missileTable_->setObjectName(QStringLiteral("missileTable"));
    missileTable_->setHorizontalHeaderLabels(
        {QStringLiteral("Ракета №"), QStringLiteral("Тип"), QStringLiteral("Режим пуска"),
         QStringLiteral("Носитель"), QStringLiteral("Цель"), QStringLiteral("Пуск"),
         QStringLiteral("Первый захват"), QStringLiteral("Исход"), QStringLiteral("Промах, м"),
         QStringLiteral("Время полёта, с")});
    missileTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    missileTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    missileTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    missileTable_->verticalHeader()->hide();
    missileTable_->verticalHeader()->setDefaultSectionSize(missileTable_->fontMetrics().height() +
                                                           4);
    missileTable_->horizontalHeader()->setStretchLastSection(true);
    connect(missileTable_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(summaries_.size())) {
            chooseMissile(summaries_[static_cast<size_t>(row)].number);
        }
    });

    tableExportButton_ = new QPushButton(QStringLiteral("Таблица CSV…"), this);
    tableExportButton_->setObjectName(QStringLiteral("tableExportButton"));
    plotsExportButton_ = new QPushButton(QStringLiteral("Графики PNG, SVG…"), this);
    plotsExportButton_->setObjectName(QStringLiteral("plotsExportButton"));
    tableExportButton_->setToolTip(QStringLiteral("Сохранить таблицу ракет в файл CSV"));
    plotsExportButton_->setToolTip(
        QStringLiteral("Сохранить графики выбранной ракеты рисунком PNG или SVG"));
    connect(tableExportButton_, &QPushButton::clicked, this, &DebriefWindow::exportTableChosen);
    connect(plotsExportButton_, &QPushButton::clicked, this, &DebriefWindow::exportPlotsChosen);

    plots_ = new QWidget(this);
    plots_->setObjectName(QStringLiteral("plots"));
    plots_->setAutoFillBackground(true);
    plotsTitle_ = new QLabel(plots_);
    plotsTitle_->setObjectName(QStringLiteral("plotsTitle"));
    plotsTitle_->setTextFormat(Qt::RichText);
    altitudeChart_ = makeChart("altitudeChart", QStringLiteral("Высота"), plots_);
    distanceChart_ = makeChart("distanceChart", QStringLiteral("Дальность до цели"), plots_);
    speedChart_ = makeChart("speedChart", QStringLiteral("Скорость"), plots_);
    powerChart_ = makeChart("powerChart", QStringLiteral("Мощность сигнала цели"), plots_);
    sideChart_ =
        makeChart("sideChart", QStringLiteral("Вид сбоку: высота над дальностью до цели"), plots_);
    auto* grid = new QGridLayout(plots_);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->addWidget(plotsTitle_, 0, 0, 1, 3);
    grid->addWidget(altitudeChart_, 1, 0);
    grid->addWidget(distanceChart_, 1, 1);
    grid->addWidget(speedChart_, 1, 2);
    grid->addWidget(powerChart_, 2, 0);
    grid->addWidget(sideChart_, 2, 1, 1, 2);

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(missileTable_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(tableExportButton_);
    buttons->addStretch(1);
    buttons->addWidget(plotsExportButton_);
    topLayout->addLayout(buttons);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(plots_);
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

void DebriefWindow::fillTable() {
    const int rows = static_cast<int>(summaries_.size());
    const bool grew = missileTable_->rowCount() != rows;
    missileTable_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const QStringList texts = rowTexts(summaries_[static_cast<size_t>(row)]);
        for (int column = 0; column < kColumnCount; ++column) {
            QTableWidgetItem* item = missileTable_->item(row, column);
            if (item == nullptr) {
                missileTable_->setItem(row, column, new QTableWidgetItem(texts[column]));
            } else if (item->text() != texts[column]) {
                item->setText(texts[column]);
            }
        }
    }
    if (grew) {
        missileTable_->resizeColumnsToContents();
    }
}

void DebriefWindow::chooseMissile(int32_t number) {
    chosen_ = number;
    for (size_t row = 0; row < summaries_.size(); ++row) {
        if (summaries_[row].number == number &&
            missileTable_->currentRow() != static_cast<int>(row)) {
            missileTable_->selectRow(static_cast<int>(row));
        }
    }
    plot();
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
        svg.setSize(plots_->size());
        svg.setViewBox(QRect(QPoint(0, 0), plots_->size()));
        svg.setTitle(windowTitle());
        QPainter painter;
        written = painter.begin(&svg);
        if (written) {
            plots_->render(&painter);
            written = painter.end();
        }
    } else {
        written = plots_->grab().save(&image, "PNG");
    }
    written = written &&
              !batch::writeWholeFile(QFile::encodeName(path).toStdString(),
                                     std::string_view(image.data().constData(),
                                                      static_cast<size_t>(image.data().size())));
    if (!written) {
        showNotice(QStringLiteral("Графики не сохранены: не удалось записать файл %1.").arg(path));
    }
    return written;
}

void DebriefWindow::exportTableChosen() {
    const QString path =
        askExportFile(QStringLiteral("Сохранить таблицу"), QStringLiteral("разбор.csv"),
                      QStringLiteral("Таблица CSV (*.csv)"));
    if (!path.isEmpty()) {
        exportTableCsv(path);
    }
}

void DebriefWindow::exportPlotsChosen() {
    const QString path = askExportFile(QStringLiteral("Сохранить графики"),
                                       QStringLiteral("ракета-%1.png").arg(chosen_),
                                       QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));
    if (!path.isEmpty()) {
        exportPlots(path);
    }
}

}  // namespace prrsim::ui
