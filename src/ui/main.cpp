// The program entry: the application, the world, the main window, the message loop.
#include <QCommandLineParser>
#include <QPixmap>
#include <chrono>
#include <cstdio>

#include "sim/tick.h"
#include "ui/application.h"
#include "ui/tform1.h"
#include "world/world.h"

namespace {

struct Options {
    QString screenshot;       // grab the main window into this PNG and exit
    int ticks = 0;            // ticks to run before the screenshot
    int selectAircraft = -1;  // click this aircraft on the map before the screenshot
};

Options parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshot("screenshot", "Save the main window to FILE and exit.",
                                        "FILE");
    const QCommandLineOption ticks("ticks", "Run N simulation ticks before the screenshot.", "N");
    const QCommandLineOption select("select-aircraft",
                                    "Click aircraft N on the map before the screenshot.", "N");
    parser.addOptions({screenshot, ticks, select});
    parser.process(app);
    Options options;
    options.screenshot = parser.value(screenshot);
    options.ticks = parser.value(ticks).toInt();
    options.selectAircraft = parser.isSet(select) ? parser.value(select).toInt() : -1;
    return options;
}

// Advances the scene without the timers, draws one frame and saves the window.
int saveScreenshot(prrsim::WorldState& world, prrsim::ui::TForm1& form, const Options& options) {
    form.Timer1->stop();
    form.Timer2->stop();
    for (int i = 0; i < options.ticks; ++i) {
        prrsim::SimulationTick(world);
    }
    if (prrsim::validAircraft(world, options.selectAircraft)) {
        const prrsim::Aircraft& a = aircraftAt(world, options.selectAircraft);
        form.Image1MouseMove(prrsim::trunc32(a.x), prrsim::trunc32(a.y));
        form.Image1Click();
    }
    form.Timer2Timer();
    QCoreApplication::processEvents();
    if (!form.grab().save(options.screenshot, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(options.screenshot));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    prrsim::ui::Application app(argc, argv);
    const Options options = parseOptions(app);

    auto world = prrsim::makeWorld();
    prrsim::startWorld(*world);
    prrsim::ui::TForm1 form(*world);
    form.show();

    if (!options.screenshot.isEmpty()) {
        // The generator keeps its fixed seed so that the picture repeats.
        return saveScreenshot(*world, form, options);
    }
    world->random.seed(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return app.exec();
}
