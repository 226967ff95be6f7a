// Saves pictures of the radar panel, the add-radar dialog and the missile window in flight into
// the directory given as the argument (scripts/screenshot-windows.sh). Not a test: ctest does
// not run it.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "missile/missile_control.h"
#include "missile/missile_loading.h"
#include "radar/radar_model.h"
#include "sim/tick.h"
#include "ui/radar_panel.h"
#include "ui/tform1.h"
#include "ui/tform2.h"
#include "ui/tform3.h"
#include "world/world.h"

using namespace prrsim;
using namespace prrsim::ui;

namespace {

bool save(QWidget* widget, const QDir& dir, const char* name) {
    QCoreApplication::processEvents();
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool ok = widget->grab().save(path, "PNG");
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(path));
    return ok;
}

void clickMap(TForm1& main, double x, double y) {
    main.Image1MouseMove(static_cast<int>(x), static_cast<int>(y));
    main.Image1Click();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshots DIRECTORY\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(dir.path());
    auto world = makeWorld();
    startWorld(*world);
    TForm1 main(*world);
    main.Timer1->stop();
    main.Timer2->stop();
    main.show();
    bool ok = true;

    // The "Имбирь" radar after 1.5 s.
    for (int i = 0; i < 150; ++i) {
        SimulationTick(*world);
    }
    clickMap(main, world->radars[3].x, world->radars[3].y);
    ok = save(main.Panel2, dir, "radar-panel.png") && ok;

    main.Button12Click();
    QCoreApplication::processEvents();  // the dialog's activation resets its lists
    main.Form2->FormActivate();
    main.Form2->ComboBox2->setCurrentIndex(3);  // "ЗРК Тор"
    ok = save(main.Form2, dir, "add-radar.png") && ok;
    main.Form2->Button2Click();

    startWorld(*world);
    // Aircraft 0 heads for the "Куб" tracking radar, which tracks it; a HARM locks and flies.
    Aircraft& a = world->aircraft[0];
    const RadarSite& r = world->radars[0];
    a.heading = bearingDeg(a.x, a.y, r.x, r.y);
    a.targetRadar = 0;
    setEmission(world->radars[0], true);
    assignTarget(*world, 0, 0);
    clickMap(main, a.x, a.y);
    const int32_t m = addMissile(*world, 3, 0);  // "AGM-88C HARM", "самозахват и пуск"
    activateMissile(*world, m);
    captureButton(*world, m);
    for (int i = 0; i < 300 && validMissile(*world, m) && world->missiles[m].locked == 0; ++i) {
        SimulationTick(*world);
    }
    launchButton(*world, m);
    for (int i = 0; i < 250 && validMissile(*world, m); ++i) {
        SimulationTick(*world);
    }
    if (!validMissile(*world, m)) {
        std::fprintf(stderr, "the missile is gone before its picture\n");
        return 1;
    }
    world->selectedMissile = m;
    main.Form3->show();
    main.Form3->refreshMissileWindow();
    ok = save(main.Form3, dir, "missile-window.png") && ok;
    return ok ? 0 : 1;
}
