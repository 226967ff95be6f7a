// `prrsim SCENE --report DIR`: the files of the report are the batch runner's tables byte for
// byte, every missile's plots and a page that holds them; a scene it cannot use is refused
// with one line and exit status 2.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>

#include "batch_files.h"
#include "scenario/scenario.h"
#include "ui/report_writer.h"

namespace prrsim::ui {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The harm_self_lock attack with a second launch from the same carrier.
batch::Scenario twoLaunches() {
    std::string error;
    auto s = batch::loadScenario(
        std::string(PRRSIM_SOURCE_DIR) + "/tests/scenario/scenarios/harm_self_lock.json", error);
    EXPECT_TRUE(s) << error;
    batch::Action a;
    a.tick = 300;
    a.aircraft = 0;
    a.type = 3;
    a.missile = 1;
    for (const batch::Op op :
         {batch::Op::AddMissile, batch::Op::Activate, batch::Op::Capture, batch::Op::Launch}) {
        a.op = op;
        a.tick += op == batch::Op::Launch ? 100 : 0;
        a.position = static_cast<int32_t>(s->actions.size());
        s->actions.push_back(a);
    }
    return *s;
}

TEST(Report, HoldsTheBatchRunnersTablesEveryMissilesPlotsAndAPrintablePage) {
    QTemporaryDir dir;
    const batch::Scenario scene = twoLaunches();
    const QString path = dir.filePath(QStringLiteral("две.json"));
    writeFile(path, QByteArray::fromStdString(batch::writeScenario(scene)));
    const QString out = dir.filePath(QStringLiteral("отчёт"));
    std::string error;
    ASSERT_EQ(writeReport(path, out, error), kReportWritten) << error;

    const testing::BatchFiles expected = testing::batchFiles(scene);
    EXPECT_EQ(readAll(out + "/events.csv").toStdString(), expected.events);
    EXPECT_EQ(readAll(out + "/missiles.csv").toStdString(), expected.missiles);
    for (int n = 1; n <= 2; ++n) {
        const QString name = out + QStringLiteral("/missile-%1").arg(n);
        EXPECT_FALSE(QImage(name + ".png").isNull()) << n;
        EXPECT_TRUE(readAll(name + ".svg").contains("<svg")) << n;
    }
    EXPECT_FALSE(QFile::exists(out + "/missile-3.png"));
    const QString page = QString::fromUtf8(readAll(out + "/report.html"));
    EXPECT_TRUE(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("@media print")));
    EXPECT_TRUE(page.contains(QStringLiteral("<img src=\"missile-2.svg\"")));
    EXPECT_TRUE(page.contains(QStringLiteral("попадание")));
    // Every event has its row: the header and one row per event, in both tables.
    const auto rows = [](const QString& text, const QString& marker) {
        return static_cast<int>(text.count(marker));
    };
    EXPECT_EQ(
        rows(page, QStringLiteral("<td class=\"time\">")),
        static_cast<int>(std::count(expected.events.begin(), expected.events.end(), '\n')) - 1);
}

TEST(Report, RefusesAFileItCannotUseWithOneLine) {
    QTemporaryDir dir;
    const QString notJson = dir.filePath(QStringLiteral("плохая.json"));
    writeFile(notJson, "{\"start\": ");
    batch::Scenario gone;
    batch::Action remove;
    remove.op = batch::Op::RemoveRadar;
    remove.radar = 5;
    gone.start = batch::StartWorld::Empty;
    gone.actions = {remove};
    const QString unusable = dir.filePath(QStringLiteral("нет-рлс.json"));
    writeFile(unusable, QByteArray::fromStdString(batch::writeScenario(gone)));
    for (const QString& scene : {notJson, unusable, dir.filePath(QStringLiteral("нет.json"))}) {
        std::string error;
        EXPECT_EQ(writeReport(scene, dir.filePath(QStringLiteral("out")), error), kReportBadScene)
            << scene.toStdString();
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out"))));

    batch::Scenario quiet;
    const QString good = dir.filePath(QStringLiteral("тихая.json"));
    writeFile(good, QByteArray::fromStdString(batch::writeScenario(quiet)));
    writeFile(dir.filePath(QStringLiteral("файл")), "x");
    std::string error;
    EXPECT_EQ(writeReport(good, dir.filePath(QStringLiteral("файл/отчёт")), error),
              kReportNotWritten);
    EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
}

}  // namespace
}  // namespace prrsim::ui
