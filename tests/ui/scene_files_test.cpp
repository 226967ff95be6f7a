// Scene files in the main window: saving (temporary file renamed over the old one), the unsaved
// mark and question, opening (run to the end, paused), refusals in Russian that change
// nothing, recent files and the recovery file.
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "form_fixture.h"
#include "missile/world_comparison.h"
#include "scenario/runner.h"
#include "ui/scene_errors.h"

namespace prrsim::ui {
namespace {

class SceneFilesTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        form->sceneFiles().newScene(batch::StartWorld::Default);
        form->sceneFiles().showError = [this](const QString& text) { errors << text; };
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    static void write(const QString& file, const QByteArray& text) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void tick(int n) {
        for (int i = 0; i < n; ++i) {
            form->runDueTicks();
        }
    }

    QTemporaryDir dir;
    QStringList errors;
};

TEST_F(SceneFilesTest, SaveWritesTheRecordingAndClearsTheUnsavedMark) {
    tick(120);
    child<QPushButton>("addAircraftButton")->click();
    tick(30);
    EXPECT_TRUE(form->isWindowModified());
    ASSERT_TRUE(form->sceneFiles().saveScene(path("exercise.json")));
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Наведение ПРР — exercise.json[*]"));
    EXPECT_EQ(child<QLabel>("fileLabel")->text(), QStringLiteral("exercise.json"));
    EXPECT_EQ(form->sceneFiles().recentFiles().value(0), path("exercise.json"));
    std::string error;
    const auto saved = batch::parseScenario(read(path("exercise.json")).toStdString(), "e", error);
    ASSERT_TRUE(saved) << error;
    EXPECT_EQ(saved->ticks, 150);
    EXPECT_EQ(saved->seed, session::kSceneSeed);
    ASSERT_EQ(saved->actions.size(), 1u);
    EXPECT_EQ(saved->actions[0].tick, 120);
    // Only the temporary file's rename wrote it: nothing else is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"exercise.json"});
}

TEST_F(SceneFilesTest, FailedSaveSaysSoAndKeepsTheSessionAndTheOldFile) {
    write(path("old.json"), "old contents");
    ASSERT_TRUE(form->sceneFiles().saveScene(path("old.json")));
    child<QPushButton>("addAircraftButton")->click();
    // A folder that cannot hold the file: its "folder" is a file.
    EXPECT_FALSE(form->sceneFiles().saveScene(path("old.json") + "/new.json"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Сцена не сохранена в файл «")))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("сеанс остаётся в программе")));
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_EQ(form->sceneFiles().sceneFile(), path("old.json"));
    EXPECT_EQ(form->session().actionCount(), 1u);
    std::string error;
    EXPECT_TRUE(batch::parseScenario(read(path("old.json")).toStdString(), "o", error)) << error;
}

TEST_F(SceneFilesTest, OpenRunsTheSceneToItsEndAndShowsItPaused) {
    write(path("flight.json"), R"({"start": "empty", "seed": 7, "ticks": 700, "actions": [
        {"tick": 0, "op": "addAircraft"},
        {"tick": 0, "op": "addRadar", "type": 2},
        {"tick": 0, "op": "placeRadar", "radar": 0, "x": 400, "y": 220},
        {"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 0},
        {"tick": 0, "op": "attackRun", "aircraft": 0},
        {"tick": 100, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 0},
        {"tick": 100, "op": "activate", "missile": 0},
        {"tick": 200, "op": "capture", "missile": 0},
        {"tick": 400, "op": "launch", "missile": 0}]})");
    ASSERT_TRUE(form->sceneFiles().openScene(path("flight.json")));
    EXPECT_TRUE(form->paused());
    EXPECT_EQ(form->session().tick(), 700);
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_EQ(child<QLabel>("timeLabel")->text(), QStringLiteral("0:00:07.00"));
    EXPECT_EQ(shown(), "");  // nothing selected in a scene just opened
    std::string error;
    const auto scene = batch::loadScenario(path("flight.json").toStdString(), error);
    auto batchWorld = makeWorld();
    batch::runScenario(*batchWorld, *scene, "f", {});
    const testing::Comparison cmp = testing::compareRecords(*world, *batchWorld);
    EXPECT_TRUE(cmp.same()) << cmp.report();
    // New changes are appended; going on records from here.
    child<QPushButton>("addAircraftButton")->click();
    EXPECT_EQ(form->session().recording().actions.back().tick, 700);
}

// A long scene shows its progress while it is read and while it is played, and "Отмена" in
// either phase gives it up: the current scene stays, nothing is shown as an error, the status
// bar says so.
TEST_F(SceneFilesTest, ALongSceneCanBeGivenUpWhileReadAndWhilePlayed) {
    QByteArray text = R"({"start": "default", "ticks": 60000, "actions": [)";
    for (int i = 0; i < 3 * batch::kProgressActions; ++i) {
        text += i == 0 ? "" : ",";
        text += R"({"tick": )" + QByteArray::number(i) + R"(, "op": "setAircraft", "aircraft": 1,
                   "speed": )" +
                QByteArray::number(400 + i % 200) + "}";
    }
    text += "]}";
    write(path("long.json"), text);
    form->sceneFiles().progressAfterMs = 0;
    const struct {
        const char* phase;
        const char* label;  // the dialog's words when "Отмена" is pressed
    } rows[] = {{"reading", "читается"}, {"playing", "проигрывается"}};
    for (const auto& row : rows) {
        child<QPushButton>("addAircraftButton")->click();
        const size_t actions = form->session().actionCount();
        const int32_t aircraft = world->aircraftCount;
        QString seen;
        // Pressed at the first report of the phase (the dialog asks after every part).
        QTimer presser;
        presser.setInterval(0);
        QObject::connect(&presser, &QTimer::timeout, [&] {
            auto* dialog = form->findChild<QProgressDialog*>("sceneProgressDialog");
            if (dialog != nullptr && dialog->labelText().contains(QString::fromUtf8(row.label))) {
                seen = dialog->labelText();
                dialog->cancel();
                presser.stop();
            }
        });
        presser.start();
        EXPECT_FALSE(form->sceneFiles().openScene(path("long.json"))) << row.phase;
        presser.stop();
        EXPECT_TRUE(seen.contains(QStringLiteral("«long.json»"))) << row.phase;
        EXPECT_TRUE(errors.isEmpty()) << row.phase << ": " << errors.join("; ").toStdString();
        EXPECT_EQ(form->session().actionCount(), actions) << row.phase;
        EXPECT_EQ(world->aircraftCount, aircraft) << row.phase;
        EXPECT_TRUE(form->sceneFiles().sceneFile().isEmpty()) << row.phase;
    }
}

struct BadFile {
    const char* name;
    const char* text;
    std::vector<const char*> parts;  // all in the message
};

TEST_F(SceneFilesTest, BadFilesAreRefusedInRussianAndTheSceneStays) {
    const BadFile rows[] = {
        {"not JSON", "{\"start\": ", {"Файл не в формате JSON: ошибка в строке 1"}},
        {"unknown op",
         R"({"start": "default", "ticks": 5, "actions": [{"tick": 0, "op": "fly"}]})",
         {"Действие 0, поле «op»: неизвестная операция «fly»"}},
        {"field out of range",
         R"({"start": "default", "ticks": 5, "actions": [{"tick": 1, "op": "setFrequency", "radar": 0, "percent": 120}]})",
         {"Действие 0 (setFrequency), поле «percent»: 120 вне пределов 0..100"}},
        {"table position gone when reached",
         R"({"start": "default", "ticks": 500, "actions": [{"tick": 300, "op": "removeAircraft", "aircraft": 7}]})",
         {"Действие 0 (removeAircraft), такт 300 (0:00:03.00), поле «aircraft»",
          "в этот момент нет самолёта с номером 7 (всего 4)"}},
        {"field of a newer program",
         R"({"start": "default", "ticks": 5, "format": 2})",
         {"Поле «format»: лишнее поле"}},
    };
    child<QPushButton>("addAircraftButton")->click();
    tick(40);
    auto before = makeWorld();
    *before = *world;
    for (const BadFile& row : rows) {
        errors.clear();
        write(path("bad.json"), row.text);
        EXPECT_FALSE(form->sceneFiles().openScene(path("bad.json"))) << row.name;
        ASSERT_EQ(errors.size(), 1) << row.name;
        EXPECT_TRUE(errors[0].startsWith("Сцена не открыта: файл «" + path("bad.json") + "»."))
            << errors[0].toStdString();
        for (const char* part : row.parts) {
            EXPECT_TRUE(errors[0].contains(QString::fromUtf8(part)))
                << row.name << ": " << errors[0].toStdString();
        }
        EXPECT_EQ(form->session().tick(), 40) << row.name;
        EXPECT_EQ(form->session().actionCount(), 1u) << row.name;
        EXPECT_TRUE(testing::compareRecords(*world, *before).same()) << row.name;
    }
    EXPECT_TRUE(form->sceneFiles().sceneFile().isEmpty());
}

TEST_F(SceneFilesTest, UnsavedChangesAreSettledBeforeAnotherScene) {
    child<QPushButton>("addAircraftButton")->click();
    QStringList asked;
    SceneFiles::SaveAnswer answer = SceneFiles::SaveAnswer::Cancel;
    form->sceneFiles().askSave = [&](const QString& question) {
        asked << question;
        return answer;
    };
    form->sceneFiles().askSaveFile = [this](const QString&) { return path("answer"); };
    child<QAction>("newAction")->trigger();
    EXPECT_EQ(asked, QStringList{"Сохранить изменения?"});
    EXPECT_EQ(world->aircraftCount, 5);  // cancelled: the scene stays
    answer = SceneFiles::SaveAnswer::Save;
    child<QAction>("emptyAction")->trigger();
    EXPECT_TRUE(QFile::exists(path("answer.json")));
    EXPECT_EQ(world->aircraftCount, 0);
    // Closing asks as well; cancelled, the window stays.
    child<QPushButton>("addAircraftButton")->click();
    answer = SceneFiles::SaveAnswer::Cancel;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    answer = SceneFiles::SaveAnswer::Discard;
    EXPECT_TRUE(form->close());
    EXPECT_EQ(asked.size(), 4);
}

TEST(RecoveryFile, ACrashedSessionIsOfferedAtTheNextStart) {
    QTemporaryDir state;
    QString crashedFile;
    auto world = makeWorld();
    {
        MainWindow crashed(*world);
        crashed.sceneFiles().newScene(batch::StartWorld::Default);
        crashed.sceneFiles().setStateDirectory(state.path());
        for (int i = 0; i < 80; ++i) {
            crashed.runDueTicks();
        }
        childNamed<QPushButton>(&crashed, "addAircraftButton")->click();
        crashed.sceneFiles().writeRecovery();
        crashedFile = crashed.sceneFiles().recoveryFile();
        EXPECT_TRUE(QFile::exists(crashedFile));
        // The window is gone without closing: as after a crash or a kill.
    }
    const QString left = state.filePath("recovery-1-1.json");
    for (const bool restore : {false, true}) {
        if (!restore) {
            // Copy the recovery file aside and back, to be offered twice.
            QFile::copy(crashedFile, state.filePath("keep.json"));
            QFile::remove(crashedFile);
        }
        QFile::copy(state.filePath("keep.json"), left);
        auto other = makeWorld();
        MainWindow next(*other);
        next.sceneFiles().newScene(batch::StartWorld::Default);
        next.sceneFiles().setStateDirectory(state.path());
        QStringList asked;
        next.sceneFiles().askYesNo = [&](const QString& question, const QString&) {
            asked << question;
            return restore;
        };
        EXPECT_EQ(next.sceneFiles().offerRecovery(), restore);
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].startsWith(QStringLiteral("Восстановить последний сеанс?")));
        if (restore) {
            EXPECT_EQ(next.session().tick(), 80);
            EXPECT_EQ(next.session().actionCount(), 1u);
            EXPECT_TRUE(next.paused());
            EXPECT_TRUE(testing::compareRecords(*other, *world).same());
            // Closed on purpose, it leaves nothing to restore.
            next.sceneFiles().askSave = [](const QString&) {
                return SceneFiles::SaveAnswer::Discard;
            };
            next.close();
        }
        EXPECT_FALSE(QFile::exists(next.sceneFiles().recoveryFile()));
        EXPECT_FALSE(QFile::exists(left));
    }
}

}  // namespace
}  // namespace prrsim::ui
