#include "ui/event_log_window.h"

#include <QColor>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "review/event_log.h"
#include "scenario/output_file.h"
#include "ui/fonts.h"

namespace prrsim::ui {

namespace {

qint64 objectKey(ReviewObject object, int32_t number) {
    return (static_cast<qint64>(object) << 32) | static_cast<uint32_t>(number);
}

bool names(const WorldEvent& e, ReviewObject object, int32_t number) {
    switch (object) {
        case ReviewObject::Missile:
            return e.missile.number == number;
        case ReviewObject::Aircraft:
            return e.aircraft.number == number;
        case ReviewObject::Radar:
            return e.radar.number == number || e.secondRadar.number == number;
    }
    return false;
}

QString nameOf(ReviewObject object, const ObjectRef& ref) {
    switch (object) {
        case ReviewObject::Missile:
            return QStringLiteral("Ракета №%1 «%2»")
                .arg(ref.number)
                .arg(fromView(batch::missileTypeName(ref.type)));
        case ReviewObject::Aircraft:
            return QStringLiteral("Самолёт №%1").arg(ref.number);
        case ReviewObject::Radar:
            return QStringLiteral("РЛС №%1 «%2»")
                .arg(ref.number)
                .arg(fromView(batch::radarTypeName(ref.type)));
    }
    return {};
}

}  // namespace

EventTableModel::EventTableModel(const review::ReviewStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void EventTableModel::catchUp() {
    const int total = static_cast<int>(store_.events().size());
    if (store_.generation() != generation_ || total < rows_) {
        beginResetModel();
        generation_ = store_.generation();
        rows_ = total;
        endResetModel();
    } else if (total > rows_) {
        beginInsertRows({}, rows_, total - 1);
        rows_ = total;
        endInsertRows();
    }
}

void EventTableModel::setNow(int64_t tick) {
    // Only the rows between the former moment and this one change sides; the events are in
    // tick order.
    const auto& events = store_.events();
    const auto shown = events.begin() + std::min<ptrdiff_t>(rows_, std::ssize(events));
    const auto after = [&](int64_t t) {
        return static_cast<int>(
            std::upper_bound(events.begin(), shown, t,
                             [](int64_t value, const WorldEvent& e) { return value < e.tick; }) -
            events.begin());
    };
    const int first = after(std::min(now_, tick));
    const int last = after(std::max(now_, tick)) - 1;
    now_ = tick;
    if (first <= last) {
        emit dataChanged(index(first, 0), index(last, columnCount() - 1),
                         {Qt::DisplayRole, Qt::ForegroundRole, Qt::ToolTipRole});
    }
}

int EventTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int EventTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) {
        return {};
    }
    const WorldEvent& e = store_.events()[static_cast<size_t>(index.row())];
    const bool ahead = e.tick > now_;
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case 0:
                return ahead ? clockText(e.tick) + QStringLiteral(" впереди") : clockText(e.tick);
            case 1:
                return fromView(batch::eventKindLabel(e.kind));
            default:
                return QString::fromStdString(batch::describeEvent(e));
        }
    }
    if (role == Qt::ToolTipRole) {
        return ahead ? QStringLiteral("Такт %1, впереди текущего момента").arg(e.tick)
                     : QStringLiteral("Такт %1").arg(e.tick);
    }
    if (role == Qt::ForegroundRole && ahead) {
        return QColor(Qt::gray);
    }
    return {};
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    const QString titles[] = {QStringLiteral("Время"), QStringLiteral("Событие"),
                              QStringLiteral("Описание")};
    return section >= 0 && section < 3 ? titles[section] : QVariant();
}

// Keeps the rows of the chosen kind that name the chosen object.
class EventLogWindow::Filter : public QSortFilterProxyModel {
  public:
    Filter(const review::ReviewStore& store, QObject* parent)
        : QSortFilterProxyModel(parent), store_(store) {}

    void set(int kind, bool byObject, ReviewObject object, int32_t number) {
        kind_ = kind;
        byObject_ = byObject;
        object_ = object;
        number_ = number;
        invalidateRowsFilter();
    }
    bool byObject() const { return byObject_; }
    ReviewObject object() const { return object_; }
    int32_t number() const { return number_; }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        const WorldEvent& e = store_.events()[static_cast<size_t>(row)];
        return (kind_ < 0 || static_cast<int>(e.kind) == kind_) &&
               (!byObject_ || names(e, object_, number_));
    }

  private:
    const review::ReviewStore& store_;
    int kind_ = -1;
    bool byObject_ = false;
    ReviewObject object_ = ReviewObject::Missile;
    int32_t number_ = 0;
};

EventLogWindow::EventLogWindow(const review::ReviewStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store) {
    setObjectName(QStringLiteral("eventLogWindow"));
    setWindowTitle(QStringLiteral("Журнал"));
    setFont(formFont());
    resize(820, 460);

    model_ = new EventTableModel(store_, this);
    filter_ = new Filter(store_, this);
    filter_->setSourceModel(model_);

    kindFilter_ = new QComboBox(this);
    kindFilter_->setObjectName(QStringLiteral("kindFilter"));
    kindFilter_->addItem(QStringLiteral("Все события"), -1);
    for (int k = 0; k < kEventKindCount; ++k) {
        kindFilter_->addItem(fromView(batch::eventKindLabel(static_cast<EventKind>(k))), k);
    }
    objectFilter_ = new QComboBox(this);
    objectFilter_->setObjectName(QStringLiteral("objectFilter"));
    objectFilter_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    fillObjectFilter();
    exportButton_ = new QPushButton(QStringLiteral("Сохранить CSV…"), this);
    exportButton_->setObjectName(QStringLiteral("exportButton"));
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    kindFilter_->setToolTip(QStringLiteral("Показывать события только этого вида"));
    objectFilter_->setToolTip(QStringLiteral("Показывать события только этого объекта"));
    exportButton_->setToolTip(QStringLiteral("Сохранить показанные события таблицей CSV"));

    eventTable_ = new QTableView(this);
    eventTable_->setObjectName(QStringLiteral("eventTable"));
    eventTable_->setModel(filter_);
    eventTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    eventTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    eventTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    eventTable_->verticalHeader()->hide();
    eventTable_->verticalHeader()->setDefaultSectionSize(eventTable_->fontMetrics().height() + 4);
    eventTable_->horizontalHeader()->setStretchLastSection(true);
    eventTable_->setColumnWidth(0, 70);
    eventTable_->setColumnWidth(1, 175);
    eventTable_->setWordWrap(false);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("Событие:"), this));
    filters->addWidget(kindFilter_);
    filters->addWidget(new QLabel(QStringLiteral("Объект:"), this));
    filters->addWidget(objectFilter_);
    filters->addStretch(1);
    filters->addWidget(exportButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(eventTable_, 1);
    layout->addWidget(countLabel_);

    connect(kindFilter_, &QComboBox::currentIndexChanged, this, &EventLogWindow::applyFilters);
    connect(objectFilter_, &QComboBox::currentIndexChanged, this, &EventLogWindow::applyFilters);
    connect(exportButton_, &QPushButton::clicked, this, &EventLogWindow::exportChosen);
    connect(eventTable_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { chooseRow(index.row()); });
    connect(eventTable_, &QTableView::activated, this,
            [this](const QModelIndex& index) { chooseRow(index.row()); });

    askExportFile = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить журнал"),
                                            QStringLiteral("журнал.csv"),
                                            QStringLiteral("Таблица CSV (*.csv)"));
    };
    showNotice = [this](const QString& text) {
        QMessageBox::information(this, windowTitle(), text);
    };
    refresh();
}

void EventLogWindow::refresh() {
    if (store_.generation() != generation_ || store_.events().size() < seen_) {
        generation_ = store_.generation();
        seen_ = 0;
        objects_.clear();
    }
    const size_t before = objects_.size();
    for (; seen_ < store_.events().size(); ++seen_) {
        addObjectsOf(store_.events()[seen_]);
    }
    if (objects_.size() != before || objectFilter_->count() != static_cast<int>(before) + 1) {
        fillObjectFilter();
    }
    QScrollBar* bar = eventTable_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    model_->catchUp();
    if (atEnd) {
        eventTable_->scrollToBottom();
    }
    countLabel_->setText(
        QStringLiteral("Показано событий: %1 из %2").arg(shownCount()).arg(store_.events().size()));
}

void EventLogWindow::addObjectsOf(const WorldEvent& e) {
    const auto add = [this](ReviewObject object, const ObjectRef& ref) {
        if (ref.number > 0) {
            objects_.try_emplace({static_cast<int>(object), ref.number}, nameOf(object, ref));
        }
    };
    add(ReviewObject::Missile, e.missile);
    add(ReviewObject::Aircraft, e.aircraft);
    add(ReviewObject::Radar, e.radar);
    add(ReviewObject::Radar, e.secondRadar);
}

void EventLogWindow::fillObjectFilter() {
    const QVariant chosen = objectFilter_->currentData();
    const QSignalBlocker blocker(objectFilter_);
    objectFilter_->clear();
    objectFilter_->addItem(QStringLiteral("Все объекты"), QVariant());
    for (const auto& [key, name] : objects_) {
        objectFilter_->addItem(name, objectKey(static_cast<ReviewObject>(key.first), key.second));
    }
    const int at = chosen.isValid() ? objectFilter_->findData(chosen) : 0;
    objectFilter_->setCurrentIndex(at < 0 ? 0 : at);
}

void EventLogWindow::applyFilters() {
    const QVariant object = objectFilter_->currentData();
    const qint64 key = object.isValid() ? object.toLongLong() : 0;
    filter_->set(kindFilter_->currentData().toInt(), object.isValid(),
                 static_cast<ReviewObject>(key >> 32), static_cast<int32_t>(key & 0xffffffff));
    countLabel_->setText(
        QStringLiteral("Показано событий: %1 из %2").arg(shownCount()).arg(store_.events().size()));
}

void EventLogWindow::setKindFilter(int kind) {
    kindFilter_->setCurrentIndex(std::max(0, kindFilter_->findData(kind)));
}

void EventLogWindow::setObjectFilter(ReviewObject object, int32_t number) {
    refresh();
    objectFilter_->setCurrentIndex(std::max(0, objectFilter_->findData(objectKey(object, number))));
}

void EventLogWindow::clearObjectFilter() {
    objectFilter_->setCurrentIndex(0);
}

int EventLogWindow::shownCount() const {
    return filter_->rowCount();
}

const WorldEvent& EventLogWindow::shownEvent(int row) const {
    const QModelIndex source = filter_->mapToSource(filter_->index(row, 0));
    return store_.events()[static_cast<size_t>(source.row())];
}

void EventLogWindow::chooseRow(int row) {
    if (row < 0 || row >= shownCount()) {
        return;
    }
    eventTable_->selectRow(row);
    const WorldEvent& e = shownEvent(row);
    emit jumpToTick(e.tick);
    // The object the log is filtered by, or else the first one the event names.
    if (filter_->byObject()) {
        emit objectChosen(filter_->object(), filter_->number());
    } else if (e.missile.number > 0) {
        emit objectChosen(ReviewObject::Missile, e.missile.number);
    } else if (e.aircraft.number > 0) {
        emit objectChosen(ReviewObject::Aircraft, e.aircraft.number);
    } else if (e.radar.number > 0) {
        emit objectChosen(ReviewObject::Radar, e.radar.number);
    }
}

bool EventLogWindow::exportCsv(const QString& path) {
    std::vector<WorldEvent> shown;
    shown.reserve(static_cast<size_t>(shownCount()));
    for (int row = 0; row < shownCount(); ++row) {
        shown.push_back(shownEvent(row));
    }
    batch::OutputFile file(QFile::encodeName(path).toStdString());
    if (file.open()) {
        batch::writeEventsCsv(file.stream(), shown);
        if (file.commit()) {
            return true;
        }
    }
    showNotice(QStringLiteral("Журнал не сохранён: не удалось записать файл %1.").arg(path));
    return false;
}

void EventLogWindow::exportChosen() {
    refresh();
    const QString path = askExportFile();
    if (!path.isEmpty()) {
        exportCsv(path);
    }
}

}  // namespace prrsim::ui
