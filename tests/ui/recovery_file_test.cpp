// The recovery file and saving under failure: nothing the user did is lost and nothing the
// program finds in its state folder stops it. Each row is a defect found with the disk full,
// files corrupted or two instances sharing a folder.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>

#include "form_fixture.h"
#include "session/recovery_text.h"
#include "ui/recovery_file.h"
#include "ui/scene_errors.h"

namespace prrsim::ui {
namespace {

// A main window on its own world with a state folder, its prompts recorded.
struct Instance {
    explicit Instance(const QString& state) : world(makeWorld()), form(*world) {
        form.stopTimers();
        form.sceneFiles().newScene(batch::StartWorld::Default);
        form.sceneFiles().setStateDirectory(state);
        childNamed<QTimer>(&form, "recoveryTimer")->stop();
        form.sceneFiles().showError = [this](const QString& text) { errors << text; };
        form.showNotice = [this](const QString& text) { notices << text; };
        form.sceneFiles().askYesNo = [this](const QString& question, const QString&) {
            asked << question;
            if (duringQuestion) {
                duringQuestion();
            }
            return answer;
        };
    }
    // Something worth restoring: an aircraft added after a few ticks.
    void act() {
        for (int i = 0; i < 20; ++i) {
            form.runDueTicks();
        }
        childNamed<QPushButton>(&form, "addAircraftButton")->click();
    }

    std::unique_ptr<WorldState> world;
    MainWindow form;
    QStringList errors, notices, asked;
    bool answer = true;
    std::function<void()> duringQuestion;
};

QStringList broken(const QTemporaryDir& state) {
    return QDir(state.path())
        .entryList({"recovery-broken-*.json"},
                   QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

struct LeftOverRow {
    const char* name;
    std::function<void(const QString&)> make;
    QString reason;
};

// A truncated or garbage file was deleted silently; a directory of that name disabled
// recovery for good; a pipe blocked start-up for ever; a 1 GB file was read whole.
TEST(RecoveryFileRegression, UnreadableLeftOversAreKeptAsideAndTold) {
    const LeftOverRow rows[] = {
        {"Truncated",
         [](const QString& p) {
             QFile f(p);
             f.open(QIODevice::WriteOnly);
             f.write(R"({"file": "", "modified": true, "scene": "{\"start\": \"def)");
         },
         QStringLiteral("файл повреждён")},
        {"Garbage",
         [](const QString& p) {
             QFile f(p);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(300, '\x07'));
         },
         QStringLiteral("файл повреждён")},
        {"Deep",
         [](const QString& p) {
             QFile f(p);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(70000, '[') + QByteArray(70000, ']'));
         },
         QStringLiteral("файл повреждён")},
        {"Directory", [](const QString& p) { QDir().mkpath(p); }, QStringLiteral("это не файл")},
        {"Pipe", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); },
         QStringLiteral("это не файл")},
        {"Huge",
         [](const QString& p) {
             QFile f(p);
             f.open(QIODevice::WriteOnly);
             f.resize(static_cast<qint64>(kMaxRecoveryBytes) + 1);  // sparse
         },
         QStringLiteral("файл слишком велик")},
    };
    for (const LeftOverRow& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir state;
        const QString left = state.filePath("recovery.json");
        row.make(left);
        Instance next(state.path());
        EXPECT_FALSE(next.form.sceneFiles().offerRecovery());
        EXPECT_TRUE(next.asked.isEmpty());
        ASSERT_EQ(next.errors.size(), 1);
        EXPECT_TRUE(next.errors[0].contains(row.reason)) << next.errors[0].toStdString();
        EXPECT_FALSE(QFileInfo::exists(left));
        ASSERT_EQ(broken(state).size(), 1);
        EXPECT_TRUE(next.errors[0].contains(broken(state)[0]));
        // Not offered again at the next start.
        Instance third(state.path());
        EXPECT_FALSE(third.form.sceneFiles().offerRecovery());
        EXPECT_TRUE(third.errors.isEmpty());
    }
}

// The 10-second timer deleted the file while "Восстановить последний сеанс?" was on screen.
TEST(RecoveryFileRegression, TimerDuringTheQuestionKeepsTheOfferedFile) {
    QTemporaryDir state;
    QString left;
    {
        Instance crashed(state.path());
        crashed.act();
        crashed.form.sceneFiles().writeRecovery();
        left = crashed.form.sceneFiles().recoveryFile();
    }
    Instance next(state.path());
    bool whole = false;
    next.duringQuestion = [&] {
        next.form.sceneFiles().writeRecovery();  // what the timer does while the question is open
        whole = QFileInfo(left).size() > 0;
    };
    next.answer = false;
    next.form.sceneFiles().offerRecovery();
    EXPECT_TRUE(whole);
    EXPECT_EQ(next.asked.size(), 1);
}

// Two instances sharing a state folder took each other's recovery file.
TEST(RecoveryFileRegression, TwoInstancesKeepTheirOwnFiles) {
    QTemporaryDir state;
    Instance first(state.path());
    first.act();
    first.form.sceneFiles().writeRecovery();
    Instance second(state.path());
    EXPECT_NE(second.form.sceneFiles().recoveryFile(), first.form.sceneFiles().recoveryFile());
    EXPECT_FALSE(second.form.sceneFiles().offerRecovery());
    EXPECT_TRUE(second.asked.isEmpty());
    second.act();
    second.form.sceneFiles().writeRecovery();
    EXPECT_TRUE(QFileInfo::exists(first.form.sceneFiles().recoveryFile()));
}

// The file stored the scene path as typed: restored from another working folder, Ctrl+S
// overwrote an unrelated file.
TEST(RecoveryFileRegression, ScenePathIsStoredAbsolute) {
    QTemporaryDir state;
    QTemporaryDir work;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    Instance crashed(state.path());
    crashed.act();
    ASSERT_TRUE(crashed.form.sceneFiles().saveScene(QStringLiteral("exercise.json")));
    crashed.act();
    crashed.form.sceneFiles().writeRecovery();
    QDir::setCurrent(before);
    QFile file(crashed.form.sceneFiles().recoveryFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject saved = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(saved.value("file").toString(), QDir(work.path()).filePath("exercise.json"));
    // An old file with a relative path restores as a new scene: saving asks where.
    std::string error;
    const auto read = session::readRecoveryText(
        R"({"file": "exercise.json", "modified": true, "scene": "{}"})", error);
    ASSERT_TRUE(read.has_value()) << error;
    EXPECT_EQ(read->file, "");
}

TEST(RecoveryFile, AFileThatCannotBeWrittenIsToldOnce) {
    QTemporaryDir state;
    Instance one(state.path());
    QDir().mkpath(one.form.sceneFiles().recoveryFile());  // renaming onto it fails
    one.act();
    one.form.sceneFiles().writeRecovery();
    one.act();
    one.form.sceneFiles().writeRecovery();
    ASSERT_EQ(one.notices.size(), 1);
    EXPECT_TRUE(one.notices[0].contains(QStringLiteral("не сохраняется для восстановления")));
}

// Saving a small scene on a full disk wrote a 0-byte file, showed nothing and cleared the "*";
// Ctrl+Q then closed without asking and deleted the recovery file.
TEST(RecoveryFileRegression, FullDiskSaveKeepsTheMarkTheSessionAndTheRecoveryFile) {
    QTemporaryDir state;
    Instance one(state.path());
    const QString scene = QDir(state.path()).filePath("scene.json");
    one.act();
    ASSERT_TRUE(one.form.sceneFiles().saveScene(scene));
    const QByteArray old = [&] {
        QFile f(scene);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    one.act();
    one.form.sceneFiles().writeRecovery();
    // Files may grow no larger than a few bytes: every write beyond fails as on a full disk.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = saved;
    tiny.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    const bool written = one.form.sceneFiles().saveScene(scene);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    ASSERT_EQ(one.errors.size(), 1);
    EXPECT_TRUE(one.errors[0].startsWith(QStringLiteral("Сцена не сохранена в файл «")));
    EXPECT_TRUE(one.form.isWindowModified());
    QFile f(scene);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
    // Closing still asks; cancelled, the recovery file stays.
    QStringList asked;
    one.form.sceneFiles().askSave = [&](const QString& q) {
        asked << q;
        return SceneFiles::SaveAnswer::Cancel;
    };
    EXPECT_FALSE(one.form.close());
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(one.form.sceneFiles().recoveryFile()));
}

}  // namespace
}  // namespace prrsim::ui
