// Every control that changes the world is recorded as the batch runner's action at its tick,
// write-backs of the aircraft panel's refresh included, and the batch run of the recording
// gives the window's world bit for bit.
#include <functional>

#include "form_fixture.h"
#include "missile/world_comparison.h"
#include "scenario/runner.h"
#include "ui/picture_box.h"

namespace prrsim::ui {
namespace {

// The rows below use the fixture from outside its class.
class Recording : public FormTest {
  public:
    using FormTest::clickAircraft;
    using FormTest::clickMap;
    using FormTest::form;

  protected:
    void SetUp() override {
        FormTest::SetUp();
        // The start-up scene with the scene seed, as the program starts it.
        form->sceneFiles().newScene(batch::StartWorld::Default);
    }

  public:
    void tick(int n) {
        for (int i = 0; i < n; ++i) {
            form->runDueTicks();
        }
    }

    void selectRadar(int r) {
        clickMap(world->radars[r].x, world->radars[r].y);
        ASSERT_EQ(form->view().selectedRadar, r);
    }

    void choose(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    void keyOn(QWidget* w, Qt::Key key) { QTest::keyClick(w, key); }

    std::vector<batch::Op> ops() const {
        std::vector<batch::Op> out;
        for (const batch::Action& a : form->session().recording().actions) {
            out.push_back(a.op);
        }
        return out;
    }

    void expectBatchGivesTheWindowsWorld(const std::string& what) {
        auto other = makeWorld();
        const batch::RunResult r =
            batch::runScenario(*other, form->session().recording(), "r.json", {});
        ASSERT_EQ(r.status, batch::RunStatus::Ok) << what << ": " << r.error;
        const testing::Comparison cmp = testing::compareRecords(*world, *other);
        EXPECT_TRUE(cmp.same()) << what << ":\n" << cmp.report();
    }
};

struct ControlRow {
    const char* control;
    std::function<void(Recording&)> use;
    batch::Op op;  // the last action recorded
};

using enum batch::Op;

TEST_F(Recording, EveryControlIsRecordedAsItsActionAndReplaysExactly) {
    const ControlRow rows[] = {
        {"Добавить самолёт",
         [](Recording& t) { childNamed<QPushButton>(t.form.get(), "addAircraftButton")->click(); },
         AddAircraft},
        {"Перенести and a click",
         [](Recording& t) {
             t.clickAircraft(0);
             childNamed<QPushButton>(t.form.get(), "moveButton")->click();
             t.clickMap(100, 100);
         },
         SetAircraft},
        {"course compass",
         [](Recording& t) {
             t.clickAircraft(1);
             auto* compass = childNamed<PictureBox>(t.form.get(), "courseCompass");
             FormTest::moveMouse(compass, QPoint(60, 31));
             QTest::mouseClick(compass, Qt::LeftButton, {}, QPoint(60, 31));
         },
         SetAircraft},
        {"speed track bar",
         [](Recording& t) {
             t.clickAircraft(0);
             t.keyOn(childNamed<QSlider>(t.form.get(), "speedSlider"), Qt::Key_PageUp);
         },
         SetAircraft},
        {"climb track bar",
         [](Recording& t) {
             t.clickAircraft(0);
             t.keyOn(childNamed<QSlider>(t.form.get(), "climbSlider"), Qt::Key_Up);
         },
         SetAircraft},
        {"Выбрать and a radar",
         [](Recording& t) {
             t.clickAircraft(0);
             childNamed<QPushButton>(t.form.get(), "pickTargetButton")->click();
             t.clickMap(345, 264);
         },
         PickTarget},
        {"На боевой",
         [](Recording& t) {
             t.clickAircraft(0), childNamed<QPushButton>(t.form.get(), "attackRunButton")->click();
         },
         AttackRun},
        {"Добавить ПРР",
         [](Recording& t) {
             t.clickAircraft(0);
             childNamed<QComboBox>(t.form.get(), "launchModeBox")->setCurrentIndex(0);
             childNamed<QPushButton>(t.form.get(), "addMissileButton")->click();
         },
         AddMissile},
        {"Активировать ракету",
         [](Recording& t) { childNamed<QPushButton>(t.form.get(), "activateButton")->click(); },
         Activate},
        {"Захват цели",
         [](Recording& t) {
             childNamed<QPushButton>(t.form.get(), "seekerCaptureButton")->click();
         },
         Capture},
        {"seeker switch-on distance",
         [](Recording& t) { childNamed<QSlider>(t.form.get(), "seekerRangeSlider")->setValue(30); },
         SeekerOnDistance},
        {"ПУСК",
         [](Recording& t) {
             childNamed<QPushButton>(t.form.get(), "missileLaunchButton")->click();
         },
         Launch},
        {"Очистить",
         [](Recording& t) {
             t.clickAircraft(0),
                 childNamed<QPushButton>(t.form.get(), "clearTargetButton")->click();
         },
         ClearTarget},
        {"Убрать самолёт",
         [](Recording& t) {
             t.clickAircraft(3),
                 childNamed<QPushButton>(t.form.get(), "removeAircraftButton")->click();
         },
         RemoveAircraft},
        {"Излучение",
         [](Recording& t) {
             t.selectRadar(2), childNamed<QCheckBox>(t.form.get(), "emissionBox")->click();
         },
         SetEmission},
        // The tracking buttons work while the radar radiates: before its rotation stops.
        {"Сброс",
         [](Recording& t) {
             t.selectRadar(3), childNamed<QPushButton>(t.form.get(), "dropTrackButton")->click();
         },
         RemoveTrack},
        {"Захват and an aircraft",
         [](Recording& t) {
             t.selectRadar(3);
             childNamed<QPushButton>(t.form.get(), "captureButton")->click();
             t.clickAircraft(2);
         },
         AssignTarget},
        {"Подсвет",
         [](Recording& t) {
             t.selectRadar(3), childNamed<QCheckBox>(t.form.get(), "illuminationBox")->click();
         },
         SetIllumination},
        {"Сброс всего",
         [](Recording& t) {
             t.selectRadar(3),
                 childNamed<QPushButton>(t.form.get(), "dropAllTracksButton")->click();
         },
         ResetTracking},
        {"Вращение",
         [](Recording& t) {
             t.selectRadar(3), childNamed<QCheckBox>(t.form.get(), "rotationBox")->click();
         },
         SetRotation},
        {"Мерцание",
         [](Recording& t) {
             t.selectRadar(3), t.choose(childNamed<QComboBox>(t.form.get(), "blinkBox"), 2);
         },
         SetBlink},
        {"antenna compass",
         [](Recording& t) {
             t.selectRadar(3);
             auto* compass = childNamed<PictureBox>(t.form.get(), "antennaCompass");
             FormTest::moveMouse(compass, QPoint(60, 31));
             QTest::mouseClick(compass, Qt::LeftButton, {}, QPoint(60, 31));
         },
         SetAntennaDirection},
        {"Методы обзора",
         [](Recording& t) {
             t.selectRadar(3), t.choose(childNamed<QComboBox>(t.form.get(), "scanMethodBox"), 1);
         },
         SetScanMethod},
        {"frequency track bar",
         [](Recording& t) {
             t.selectRadar(3),
                 t.keyOn(childNamed<QSlider>(t.form.get(), "frequencySlider"), Qt::Key_Right);
         },
         SetFrequency},
        {"Сигнал",
         [](Recording& t) {
             t.selectRadar(3),
                 t.choose(childNamed<ElidingComboBox>(t.form.get(), "emissionModeBox"), 2);
         },
         SetPrfMode},
        {"radar Перенести and a click",
         [](Recording& t) {
             t.selectRadar(2);
             childNamed<QPushButton>(t.form.get(), "moveRadarButton")->click();
             t.clickMap(50, 60);
         },
         PlaceRadar},
        {"Убрать РЛС",
         [](Recording& t) {
             t.selectRadar(2), childNamed<QPushButton>(t.form.get(), "removeRadarButton")->click();
         },
         RemoveRadar},
        {"add-radar dialog, one radar",
         [](Recording& t) {
             childNamed<QPushButton>(t.form.get(), "addRadarButton")->click();
             childNamed<AddRadarDialog>(t.form.get(), "addRadarDialog")->resetChoices();
             childNamed<QComboBox>(t.form.get(), "singleRadarBox")->setCurrentIndex(10);
             childNamed<QPushButton>(t.form.get(), "okButton")->click();
         },
         AddRadar},
        {"add-radar dialog, a complex",
         [](Recording& t) {
             childNamed<QPushButton>(t.form.get(), "addRadarButton")->click();
             childNamed<AddRadarDialog>(t.form.get(), "addRadarDialog")->resetChoices();
             childNamed<QComboBox>(t.form.get(), "complexBox")->setCurrentIndex(2);
             childNamed<QPushButton>(t.form.get(), "okButton")->click();
         },
         AddComplex},
    };
    size_t recorded = 0;
    for (const ControlRow& row : rows) {
        tick(37);
        row.use(*this);
        const std::vector<batch::Op> now = ops();
        ASSERT_GT(now.size(), recorded) << row.control << ": nothing recorded";
        EXPECT_EQ(now.back(), row.op) << row.control;
        EXPECT_EQ(form->session().recording().actions.back().tick, form->session().tick())
            << row.control;
        recorded = now.size();
        expectBatchGivesTheWindowsWorld(row.control);
    }
    // The complex waits for its placing click.
    clickMap(599, 439);
    EXPECT_EQ(ops().back(), PlaceRadar);
    // Selections, modes and redraws alone record nothing.
    recorded = ops().size();
    clickAircraft(1);
    child<QPushButton>("pickTargetButton")->click();
    clickMap(599, 439);
    form->redraw();
    EXPECT_EQ(ops().size(), recorded + 1);  // the target pick away from every radar
    EXPECT_EQ(ops().back(), PickTarget);
    clickMap(599, 439);
    form->redraw();
    EXPECT_EQ(ops().size(), recorded + 1);
}

// A scene written by hand with a fractional speed, course and climb: selecting the aircraft
// makes the panel write the whole numbers back, which the recording must hold.
TEST_F(Recording, PanelWriteBacksAreRecorded) {
    batch::ScenarioError error;
    const auto scene = batch::parseScenario(
        R"({"start": "default", "ticks": 20, "actions": [{"tick": 0, "op": "setAircraft",
            "aircraft": 1, "speed": 660.7, "heading": 245.5, "climbAngle": 2.5}]})",
        "w.json", error);
    ASSERT_TRUE(scene) << error.line();
    ASSERT_TRUE(form->session().open(*scene, "w.json", error)) << error.line();
    clickAircraft(1);
    const batch::Scenario r = form->session().recording();
    ASSERT_EQ(r.actions.size(), 4u);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(r.actions[i].op, SetAircraft);
        EXPECT_EQ(r.actions[i].tick, 20);
    }
    EXPECT_EQ(r.actions[1].aircraftFields[kFieldSpeed], 660);
    EXPECT_EQ(r.actions[2].aircraftFields[kFieldClimbAngle], 3);
    EXPECT_EQ(r.actions[3].aircraftFields[kFieldHeading], 245);
    expectBatchGivesTheWindowsWorld("after the write-backs");
    // Selecting it again writes the same values: nothing new.
    clickMap(599, 439);
    clickAircraft(1);
    EXPECT_EQ(form->session().actionCount(), 4u);
}

}  // namespace
}  // namespace prrsim::ui
