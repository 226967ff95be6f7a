#include "ui/report_writer.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QTextStream>
#include <cstring>
#include <memory>
#include <string_view>

#include "review/event_log.h"
#include "scenario/scenario.h"
#include "session/session.h"
#include "ui/debrief_window.h"
#include "ui/event_log_window.h"
#include "ui/ui_text.h"
#include "world/world.h"

namespace prrsim::ui {

namespace {

// Print styles: A4 across, each missile's plots on a page of their own, tables not split
// inside a row.
constexpr const char* kStyle = R"(
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; margin: 2em; color: #000; }
h1 { font-size: 16pt; margin-bottom: 0.2em; }
h2 { font-size: 13pt; margin-top: 1.5em; border-bottom: 1px solid #888; }
h3 { font-size: 11pt; }
p.about { color: #333; margin-top: 0; }
table { border-collapse: collapse; margin: 0.5em 0 1em; }
th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }
th { background: #eee; }
td.time { white-space: nowrap; font-variant-numeric: tabular-nums; }
img { width: 100%; max-width: 1000px; border: 1px solid #ccc; }
@page { size: A4 landscape; margin: 12mm; }
@media print {
  body { margin: 0; }
  h2, h3 { break-after: avoid; }
  tr { break-inside: avoid; }
  section.missile { break-before: page; break-inside: avoid; }
  img { max-width: 100%; border: none; }
}
)";

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The table as the window shows it.
QString htmlTable(const QAbstractItemModel& table) {
    QString html = QStringLiteral("<table>\n<tr>");
    for (int c = 0; c < table.columnCount(); ++c) {
        html += "<th>" + escaped(table.headerData(c, Qt::Horizontal).toString()) + "</th>";
    }
    html += "</tr>\n";
    for (int r = 0; r < table.rowCount(); ++r) {
        html += "<tr>";
        for (int c = 0; c < table.columnCount(); ++c) {
            html += "<td>" + escaped(table.index(r, c).data().toString()) + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

// The log's rows: time, event, description.
QString htmlEvents(const EventLogWindow& log) {
    const QAbstractItemModel* model = &log.shownEvents();
    QString html = QStringLiteral("<table>\n<tr>");
    for (int c = 0; c < model->columnCount(); ++c) {
        html += "<th>" + escaped(model->headerData(c, Qt::Horizontal).toString()) + "</th>";
    }
    html += "</tr>\n";
    for (int r = 0; r < model->rowCount(); ++r) {
        html += "<tr>";
        for (int c = 0; c < model->columnCount(); ++c) {
            html += (c == 0 ? QStringLiteral("<td class=\"time\">") : QStringLiteral("<td>")) +
                    escaped(model->index(r, c).data().toString()) + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

bool writeText(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(text.toUtf8());
    return file.commit();
}

std::string notWritten(const QString& path) {
    return "prrsim: " + QDir::toNativeSeparators(path).toStdString() + ": cannot be written";
}

}  // namespace

int writeReport(const QString& scene, const QString& directory, std::string& error) {
    const std::string source = QFile::encodeName(scene).toStdString();
    const std::optional<batch::Scenario> scenario = batch::loadScenario(source, error);
    if (!scenario) {
        return kReportBadScene;
    }
    auto world = makeWorld();
    session::Session session(*world);
    batch::ScenarioError refused;
    if (!session.open(*scenario, source, refused)) {
        error = refused.line();
        return kReportBadScene;
    }
    const QDir dir(directory);
    if (!QDir().mkpath(directory)) {
        error = notWritten(directory);
        return kReportNotWritten;
    }
    const review::ReviewStore& review = session.review();
    QString failed;
    const auto noteFailure = [&](const QString&) {};

    EventLogWindow log(review, nullptr);
    log.showNotice = noteFailure;
    log.setNow(session.tick());
    log.refresh();
    DebriefWindow debrief(*world, review, nullptr);
    debrief.showNotice = noteFailure;
    debrief.setAttribute(Qt::WA_DontShowOnScreen);
    debrief.show();
    debrief.refresh();

    const QString events = dir.filePath(QStringLiteral("events.csv"));
    const QString missiles = dir.filePath(QStringLiteral("missiles.csv"));
    if (!log.exportCsv(events)) {
        failed = events;
    } else if (!debrief.exportTableCsv(missiles)) {
        failed = missiles;
    }
    QString plots;
    for (const batch::MissileSummary& s : debrief.summaries()) {
        debrief.chooseMissile(s.number);
        const QString name = QStringLiteral("missile-%1").arg(s.number);
        for (const char* suffix : {".png", ".svg"}) {
            const QString path = dir.filePath(name + QLatin1String(suffix));
            if (failed.isEmpty() && !debrief.exportPlots(path)) {
                failed = path;
            }
        }
        plots += QStringLiteral(
                     "<section class=\"missile\">\n<h3>Ракета №%1 «%2»</h3>\n"
                     "<img src=\"%3.svg\" alt=\"Графики ракеты №%1\">\n</section>\n")
                     .arg(s.number)
                     .arg(escaped(fromView(batch::missileTypeName(s.typeIndex))), name);
    }
    if (!failed.isEmpty()) {
        error = notWritten(failed);
        return kReportNotWritten;
    }

    const QString title = QFileInfo(scene).fileName();
    QString html;
    QTextStream out(&html);
    out << "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<title>Разбор: " << escaped(title) << "</title>\n<style>" << kStyle
        << "</style>\n</head>\n<body>\n"
        << "<h1>Разбор сцены «" << escaped(title) << "»</h1>\n<p class=\"about\">";
    if (!scenario->description.empty()) {
        out << escaped(QString::fromStdString(scenario->description)) << "<br>";
    }
    out << "Длительность " << clockText(session.end()) << "; ракет: " << debrief.summaries().size()
        << "; событий: " << review.events().size() << ".</p>\n"
        << "<h2>Ракеты</h2>\n"
        << (debrief.summaries().empty() ? QStringLiteral("<p>Ракет не было.</p>\n")
                                        : htmlTable(debrief.tableModel()))
        << "<h2>События</h2>\n"
        << htmlEvents(log);
    if (!plots.isEmpty()) {
        out << "<h2>Графики</h2>\n" << plots;
    }
    out << "</body>\n</html>\n";
    out.flush();
    const QString page = dir.filePath(QStringLiteral("report.html"));
    if (!writeText(page, html)) {
        error = notWritten(page);
        return kReportNotWritten;
    }
    return kReportWritten;
}

void preferOffscreenForReport(int argc, char** argv) {
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        report = report || arg == "--report" || arg.starts_with("--report=");
    }
    if (report) {
        // The report's one line is all it says: Qt's notes on the platform stay unsaid.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

}  // namespace prrsim::ui
