// Window soak: the main window with its add-radar dialog and missile window, offscreen, driven
// by seeded random QTest events: mouse moves and clicks over the map (often right on an
// aircraft, radar or missile), clicks on every visible, enabled button and box, list choices,
// combo-box and track-bar keys, the compass pictures, the dialog and the missile window closed
// by their frames, and ticks and redraws advanced by calling the timer handlers. The world
// invariants are checked after every event.
//
//   window_soak            short form (CI): 20,000 events
//   window_soak --long     long form: 1,000,000 events
//   PRRSIM_SOAK=long       the same as --long
//   --seed N, --events N   seed (default 1) and event count
//
// Exit status 0 when every check held, 1 with the seed, the event and the broken invariant on
// standard error otherwise.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ui/map_view.h"
#include "ui/picture_box.h"
#include "ui/tform1.h"
#include "ui/tform2.h"
#include "ui/tform3.h"
#include "world/world.h"
#include "world/world_invariants.h"

namespace prrsim::soak {
namespace {

using ui::TForm1;
using ui::TForm3;

constexpr int64_t kSessionEvents = 2'000;

struct Totals {
    int64_t sessions = 0;
    int64_t events = 0;
    int64_t ticks = 0;
    int64_t redraws = 0;
    int64_t notices = 0;
    int64_t dialogs = 0;
    int64_t detonations = 0;
};

class WindowSoak {
  public:
    explicit WindowSoak(uint32_t seed) : rng_(seed), seed_(seed) { restart(); }

    // A new session: a fresh start-up world and a new main window. Within a few simulated
    // minutes every aircraft has flown off the map, where no click reaches it, so sessions are
    // kept short enough for the map to stay busy.
    void restart() {
        form_.reset();
        startWorld(*world_);
        world_->random.seed(seed_ + static_cast<uint32_t>(totals_.sessions));
        form_ = std::make_unique<TForm1>(*world_);
        form_->Timer1->stop();
        form_->Timer2->stop();
        form_->showNotice = [this](const QString&) { ++totals_.notices; };
        form_->show();
        if (!QTest::qWaitForWindowExposed(form_.get())) {
            std::fprintf(stderr, "window_soak: the main window was not exposed\n");
        }
        ++totals_.sessions;
    }

    bool run(int64_t events) {
        for (int64_t e = 0; e < events; ++e) {
            if (e > 0 && e % kSessionEvents == 0) {
                restart();
            }
            const char* what = event();
            // The timers are driven by hand only.
            form_->Timer1->stop();
            form_->Timer2->stop();
            form_->Timer3->stop();
            ++totals_.events;
            const std::string p = checkWorldInvariants(*world_);
            if (!p.empty()) {
                std::fprintf(stderr, "window_soak: seed %u, event %lld (%s): %s\n", seed_,
                             static_cast<long long>(e), what, p.c_str());
                return false;
            }
        }
        return true;
    }

    const Totals& totals() const { return totals_; }

  private:
    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    // One random event; returns what it was.
    const char* event() {
        const int k = pick(100);
        if (k < 25) {
            return mapEvent();
        }
        if (k < 55) {
            return controlEvent();
        }
        if (k < 75) {
            const int n = pick(10) == 0 ? 1 + pick(500) : 1 + pick(20);
            for (int i = 0; i < n; ++i) {
                const int32_t before = world_->missileCount;
                form_->Timer1Timer();
                // Missiles leave the table during a tick only by detonating.
                totals_.detonations += std::max(0, before - world_->missileCount);
            }
            totals_.ticks += n;
            return "ticks";
        }
        if (k < 88) {
            form_->Timer2Timer();
            ++totals_.redraws;
            return "redraw";
        }
        if (k < 91) {
            form_->Timer3Timer();
            return "impact text";
        }
        if (k < 94) {
            if (form_->isEnabled() && form_->Button12->isVisible()) {
                QTest::mouseClick(form_->Button12, Qt::LeftButton);
                ++totals_.dialogs;
            }
            return "open the add-radar dialog";
        }
        if (k < 96) {
            form_->Form2->close();
            return "close the add-radar dialog";
        }
        if (k < 98) {
            form_->Form3->close();
            return "close the missile window";
        }
        return crewEvent();
    }

    // Clicks `w` if a user could.
    void clickIfReachable(QWidget* w) {
        if (w->isVisible() && w->isEnabled()) {
            QTest::mouseClick(w, Qt::LeftButton);
        }
    }

    void clickMapAt(double x, double y) {
        if (!form_->Image1->isEnabled()) {
            return;
        }
        const QPoint p(std::clamp(static_cast<int>(std::clamp(x, -1e6, 1e6)), 0, 599),
                       std::clamp(static_cast<int>(std::clamp(y, -1e6, 1e6)), 0, 439));
        QTest::mouseMove(form_->Image1, p + QPoint(p.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(form_->Image1, p);
        QTest::mouseClick(form_->Image1, Qt::LeftButton, {}, p);
    }

    // The road of one missile by the windows' controls: select an aircraft, "Выбрать" and a
    // radar, "Добавить ПРР", then in the missile window power, capture and "ПУСК".
    const char* crewEvent() {
        const WorldState& w = *world_;
        if (w.aircraftCount == 0) {
            return mapEvent();
        }
        const Aircraft& a = w.aircraft[pick(w.aircraftCount)];
        clickMapAt(a.x, a.y);
        if (w.radarCount > 0 && form_->Button3->isVisible()) {
            clickIfReachable(form_->Button3);
            const RadarSite& r = w.radars[pick(w.radarCount)];
            clickMapAt(r.x, r.y);
        }
        clickIfReachable(form_->Button16);
        TForm3* f3 = form_->Form3;
        clickIfReachable(f3->Button1);
        clickIfReachable(f3->Button2);
        const int n = pick(60);
        for (int i = 0; i < n; ++i) {
            const int32_t before = world_->missileCount;
            form_->Timer1Timer();
            totals_.detonations += std::max(0, before - world_->missileCount);
        }
        totals_.ticks += n;
        form_->Timer2Timer();
        clickIfReachable(f3->Button3);
        return "crew";
    }

    // A point on the map: anywhere, or on (or next to) an object.
    QPoint mapPoint() {
        const WorldState& w = *world_;
        const int k = pick(4);
        double x = pick(600);
        double y = pick(440);
        if (k == 0 && w.aircraftCount > 0) {
            const Aircraft& a = w.aircraft[pick(w.aircraftCount)];
            x = a.x;
            y = a.y;
        } else if (k == 1 && w.radarCount > 0) {
            const RadarSite& r = w.radars[pick(w.radarCount)];
            x = r.x;
            y = r.y;
        } else if (k == 2 && w.missileCount > 0) {
            const Missile& m = w.missiles[pick(w.missileCount)];
            x = m.x;
            y = m.y;
        }
        const int px = static_cast<int>(std::clamp(x, -1e6, 1e6)) + pick(9) - 4;
        const int py = static_cast<int>(std::clamp(y, -1e6, 1e6)) + pick(9) - 4;
        return QPoint(std::clamp(px, 0, 599), std::clamp(py, 0, 439));
    }

    const char* mapEvent() {
        if (!form_->Image1->isEnabled()) {
            return "map (disabled)";
        }
        const QPoint p = mapPoint();
        QTest::mouseMove(form_->Image1, p + QPoint(p.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(form_->Image1, p);
        if (pick(5) == 0) {
            return "map move";
        }
        QTest::mouseClick(form_->Image1, Qt::LeftButton, {}, p);
        return "map click";
    }

    // Every control a user could reach now.
    std::vector<QWidget*> reachable() {
        std::vector<QWidget*> out;
        for (QWidget* w : form_->findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->isEnabled()) {
                continue;
            }
            if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                qobject_cast<QSlider*>(w) || qobject_cast<QListWidget*>(w) ||
                qobject_cast<ui::PictureBox*>(w)) {
                out.push_back(w);
            }
        }
        return out;
    }

    const char* controlEvent() {
        const std::vector<QWidget*> controls = reachable();
        if (controls.empty()) {
            return "no control";
        }
        QWidget* w = controls[pick(static_cast<int>(controls.size()))];
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            // On the indicator, which a click on the caption's far end would miss.
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
            return "check box";
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return "button";
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            static constexpr Qt::Key kKeys[] = {Qt::Key_Down, Qt::Key_Up,       Qt::Key_Home,
                                                Qt::Key_End,  Qt::Key_PageDown, Qt::Key_PageUp};
            QTest::keyClick(combo, kKeys[pick(6)]);
            return "list choice";
        }
        if (auto* slider = qobject_cast<QSlider*>(w)) {
            static constexpr Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right,    Qt::Key_Home,
                                                Qt::Key_End,  Qt::Key_PageDown, Qt::Key_PageUp,
                                                Qt::Key_Up,   Qt::Key_Down};
            const int n = 1 + pick(5);
            for (int i = 0; i < n; ++i) {
                QTest::keyClick(slider, kKeys[pick(8)]);
            }
            return "track bar";
        }
        if (auto* list = qobject_cast<QListWidget*>(w)) {
            if (list->count() == 0) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
                return "empty list";
            }
            QListWidgetItem* item = list->item(pick(list->count()));
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(item).center());
            return "list entry";
        }
        // A compass picture: move over it, then click.
        const QPoint p(pick(w->width()), pick(w->height()));
        QTest::mouseMove(w, p + QPoint(p.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(w, p);
        QTest::mouseClick(w, Qt::LeftButton, {}, p);
        return "compass";
    }

    std::mt19937 rng_;
    uint32_t seed_;
    Totals totals_;
    std::unique_ptr<WorldState> world_ = makeWorld();
    std::unique_ptr<TForm1> form_;
};

int run(int argc, char** argv) {
    const char* env = std::getenv("PRRSIM_SOAK");
    int64_t events = (env != nullptr && std::strcmp(env, "long") == 0) ? 1'000'000 : 20'000;
    uint32_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--long") {
            events = 1'000'000;
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--events" && i + 1 < argc) {
            events = std::strtoll(argv[++i], nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: window_soak [--long] [--seed N] [--events N]\n");
            return 2;
        }
    }
    WindowSoak soak(seed);
    if (!soak.run(events)) {
        return 1;
    }
    const Totals& t = soak.totals();
    std::printf(
        "window_soak: %lld sessions, %lld events, %lld ticks (%.2f simulated hours), %lld redraws, "
        "%lld "
        "dialogs opened, %lld detonations, %lld notices, 0 faults\n",
        static_cast<long long>(t.sessions), static_cast<long long>(t.events),
        static_cast<long long>(t.ticks), t.ticks * 0.01 / 3600, static_cast<long long>(t.redraws),
        static_cast<long long>(t.dialogs), static_cast<long long>(t.detonations),
        static_cast<long long>(t.notices));
    return 0;
}

}  // namespace
}  // namespace prrsim::soak

namespace {

// The offscreen platform cannot raise windows and says so on every dialog opened.
QtMessageHandler previousHandler = nullptr;

void quietRaise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QStringLiteral("does not support raise()"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, text);
    }
}

}  // namespace

int main(int argc, char** argv) {
    previousHandler = qInstallMessageHandler(quietRaise);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return prrsim::soak::run(argc, argv);
}
