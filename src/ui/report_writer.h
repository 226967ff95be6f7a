#pragma once

// `prrsim SCENE.json --report DIR`: the debrief of a scene to hand to trainees, without a
// window on screen. The scene is opened as the main window opens it (the session runs it to its
// last tick) and the review windows write what they show: events.csv and missiles.csv (the
// files `prrsim-batch SCENE --events-csv/--summary-csv` writes), every missile's plots as
// missile-N.png and missile-N.svg, and report.html, a printable page of the summary table, the
// plots and the events.

#include <QString>
#include <string>

namespace prrsim::ui {

// Process exit statuses of the report.
inline constexpr int kReportWritten = 0;
inline constexpr int kReportNotWritten = 1;  // a file of the report could not be written
inline constexpr int kReportBadScene = 2;    // the scene file cannot be used

// Writes the report of `scene` into `directory` (made if missing). On failure `error` is one
// English line.
int writeReport(const QString& scene, const QString& directory, std::string& error);

// Before the application is made: a report asked for without a display is drawn offscreen,
// and Qt's own messages are not printed (the report's error is its one line).
void preferOffscreenForReport(int argc, char** argv);

}  // namespace prrsim::ui
