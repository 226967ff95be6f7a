#pragma once

// "Журнал": every event of the recording with its simulated time, filtered by kind and object;
// the events after the present moment are greyed and marked "впереди". Choosing an event asks
// for its object to be selected and for the session to go to its tick; the log stays whole.

#include <QAbstractTableModel>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include "ui/ui_text.h"

#include "review/review_store.h"

namespace prrsim::ui {

enum class ReviewObject { Missile, Aircraft, Radar };

// "0:20,95": minutes, seconds and hundredths of simulated time.

// The store's events as rows: time, event, description.
class EventTableModel : public QAbstractTableModel {
  public:
    explicit EventTableModel(const review::ReviewStore& store, QObject* parent);
    // Shows the events that came since the last call (all of them after a clear).
    void catchUp();
    // The present moment: events after it are ahead.
    void setNow(int64_t tick);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const review::ReviewStore& store_;
    int rows_ = 0;
    uint64_t generation_ = 0;
    int64_t now_ = INT64_MAX;
};

class EventLogWindow : public QWidget {
    Q_OBJECT
  public:
    EventLogWindow(const review::ReviewStore& store, QWidget* parent);

    // Shows the events that came since the last refresh.
    void refresh();
    // The session's present moment.
    void setNow(int64_t tick) { model_->setNow(tick); }

    // The filters: a kind (-1 all) and an object (none: all).
    void setKindFilter(int kind);
    void setObjectFilter(ReviewObject object, int32_t number);
    void clearObjectFilter();

    // The events shown, top to bottom.
    int shownCount() const;
    const WorldEvent& shownEvent(int row) const;
    // The events shown, as the table shows them (time, event, description).
    const QAbstractItemModel& shownEvents() const { return *eventTable_->model(); }
    // Chooses the shown event of this row (as a click on it does).
    void chooseRow(int row);

    // Writes the events shown as a CSV table; false (and a notice) when it cannot.
    bool exportCsv(const QString& path);

    // The file to export to (empty: cancelled) and notices; replaceable for tests.
    std::function<QString()> askExportFile;
    std::function<void(const QString&)> showNotice;

  signals:
    void jumpToTick(int64_t tick);
    void objectChosen(prrsim::ui::ReviewObject object, int32_t number);

  private:
    class Filter;
    void addObjectsOf(const WorldEvent& e);
    void fillObjectFilter();
    void applyFilters();
    void exportChosen();  // "Сохранить CSV…"

    const review::ReviewStore& store_;
    EventTableModel* model_ = nullptr;
    Filter* filter_ = nullptr;
    size_t seen_ = 0;  // events whose objects are in the object list
    uint64_t generation_ = 0;
    std::map<std::pair<int, int32_t>, QString> objects_;  // (ReviewObject, number): its name
    QComboBox* kindFilter_ = nullptr;
    QComboBox* objectFilter_ = nullptr;
    QTableView* eventTable_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QLabel* countLabel_ = nullptr;
};

}  // namespace prrsim::ui
