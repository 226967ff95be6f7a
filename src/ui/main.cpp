// The program entry: the application, the world, the main window, the message loop.
//
//   prrsim [SCENE.json] [--state-dir DIR]
//   prrsim SCENE.json --report DIR     (no window: the scene's debrief into DIR; exit 2 for a
//                                      scene file it cannot use, 1 for a file not written)
//
// SCENE.json opens a scene file at start. The recovery file and the recent-files list live in
// DIR, or in $PRRSIM_STATE_DIR, or in the user's application data folder.
#include <QCommandLineParser>
#include <QPixmap>
#include <QStandardPaths>
#include <cstdio>
#include <string>

#include "sim/tick.h"
#include "ui/application.h"
#include "ui/report_writer.h"
#include "ui/main_window.h"
#include "world/world.h"

namespace {

struct Options {
    QString scene;            // a scene file to open
    QString stateDirectory;   // recovery file and recent files
    QString screenshot;       // grab the main window into this PNG and exit
    int ticks = 0;            // ticks to run before the screenshot
    int selectAircraft = -1;  // click this aircraft on the map before the screenshot
    QString report;           // write the scene's debrief into this folder and exit
};

Options parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument("scene", "A scene file to open.", "[SCENE.json]");
    const QCommandLineOption state("state-dir",
                                   "Keep the recovery file and the recent files in DIR "
                                   "(default: $PRRSIM_STATE_DIR, else the user's data folder).",
                                   "DIR");
    const QCommandLineOption screenshot("screenshot", "Save the main window to FILE and exit.",
                                        "FILE");
    const QCommandLineOption ticks("ticks", "Run N simulation ticks before the screenshot.", "N");
    const QCommandLineOption select("select-aircraft",
                                    "Click aircraft N on the map before the screenshot.", "N");
    const QCommandLineOption report("report", "Write the scene's debrief into DIR and exit.",
                                    "DIR");
    parser.addOptions({state, screenshot, ticks, select, report});
    parser.process(app);
    Options options;
    if (!parser.positionalArguments().isEmpty()) {
        options.scene = parser.positionalArguments().first();
    }
    options.stateDirectory = parser.value(state);
    if (options.stateDirectory.isEmpty()) {
        options.stateDirectory = qEnvironmentVariable("PRRSIM_STATE_DIR");
    }
    if (options.stateDirectory.isEmpty()) {
        options.stateDirectory =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    }
    options.screenshot = parser.value(screenshot);
    options.report = parser.value(report);
    options.ticks = parser.value(ticks).toInt();
    options.selectAircraft = parser.isSet(select) ? parser.value(select).toInt() : -1;
    return options;
}

// Advances the scene without the timers, draws one frame and saves the window.
int saveScreenshot(prrsim::WorldState& world, prrsim::ui::MainWindow& form, const Options& options) {
    form.stopTimers();
    for (int i = 0; i < options.ticks; ++i) {
        form.session().step();
    }
    if (prrsim::validAircraft(world, options.selectAircraft)) {
        const prrsim::Aircraft& a = aircraftAt(world, options.selectAircraft);
        form.clickMap(prrsim::trunc32(a.x), prrsim::trunc32(a.y));
    }
    form.redraw();
    QCoreApplication::processEvents();
    if (!form.grab().save(options.screenshot, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(options.screenshot));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    prrsim::ui::preferOffscreenForReport(argc, argv);
    prrsim::ui::Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prrsim"));
    const Options options = parseOptions(app);
    if (!options.report.isEmpty()) {
        std::string error = "prrsim: --report needs a scene file";
        const int status = options.scene.isEmpty()
                               ? prrsim::ui::kReportBadScene
                               : prrsim::ui::writeReport(options.scene, options.report, error);
        if (status != prrsim::ui::kReportWritten) {
            std::fprintf(stderr, "%s\n", error.c_str());
        }
        return status;
    }

    auto world = prrsim::makeWorld();
    prrsim::ui::MainWindow form(*world);
    // The default scene with the scene seed: a session replays the same way every time.
    form.sceneFiles().newScene(prrsim::batch::StartWorld::Default);
    form.show();

    if (!options.screenshot.isEmpty()) {
        if (!options.scene.isEmpty() && !form.sceneFiles().openScene(options.scene)) {
            return 1;
        }
        return saveScreenshot(*world, form, options);
    }
    form.sceneFiles().setStateDirectory(options.stateDirectory);
    if (!form.sceneFiles().offerRecovery() && !options.scene.isEmpty()) {
        form.sceneFiles().openScene(options.scene);
    }
    return app.exec();
}
