// Every object the windows show carries the stable number the event log gives it, counted from 1,
// never its table position: after removals the two differ, and the windows must not drift.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "form_fixture.h"
#include "missile/missile_loading.h"
#include "review/event_log.h"
#include "ui/event_log_window.h"
#include "ui/map_view.h"
#include "ui/object_names.h"

namespace prrsim::ui {
namespace {

// The number after the first "№" of `text`, 0 when there is none.
int numberIn(const QString& text) {
    static const QRegularExpression number(QStringLiteral("№(\\d+)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

int numberIn(const std::string& text) {
    return numberIn(QString::fromStdString(text));
}

// The log's sentence about the last event of `kind` in the session's review.
std::string lastSentence(MainWindow& form, EventKind kind) {
    std::string sentence;
    for (const WorldEvent& e : form.session().review().events()) {
        if (e.kind == kind) {
            sentence = batch::describeEvent(e);
        }
    }
    return sentence;
}

class Numbering : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        // The first radar and aircraft go: from now on no table position is its number - 1.
        ASSERT_TRUE(removeRadar(*world, 0));
        ASSERT_TRUE(removeAircraft(*world, 0));
        world->events.take();
    }
};

// Each shown text of one object, then its removal: the log names the same number.
TEST_F(Numbering, RadarPanelAndMapLabelShowTheLogsNumber) {
    const int32_t row = 2;  // a radar standing alone, not in a complex
    ASSERT_LT(world->radars[row].placedComplex, 0);
    form->selectReviewObject(ReviewObject::Radar, world->radars[row].number);
    ASSERT_EQ(form->view().selectedRadar, row);
    const int shown = numberIn(child<QLabel>("radarTitleLabel")->text());
    MapLabels labels;
    EXPECT_EQ(numberIn(labels.radarText(*world, row)), shown);
    EXPECT_NE(shown, row);
    EXPECT_NE(shown, row + 1);
    QTest::mouseClick(child<QPushButton>("removeRadarButton"), Qt::LeftButton);
    EXPECT_EQ(numberIn(lastSentence(*form, EventKind::RadarRemoved)), shown);
}

TEST_F(Numbering, AircraftPanelShowsTheLogsNumber) {
    const int32_t row = 1;
    clickAircraft(row);
    const int shown = numberIn(child<QLabel>("numberLabel")->text());
    EXPECT_EQ(shown, numberIn(aircraftName(*world, row)));
    EXPECT_NE(shown, row + 1);
    QTest::mouseClick(child<QPushButton>("removeAircraftButton"), Qt::LeftButton);
    EXPECT_EQ(numberIn(lastSentence(*form, EventKind::AircraftRemoved)), shown);
}

TEST_F(Numbering, MissileWindowAndMapLabelShowTheLogsNumber) {
    // Missile number 1 goes with its aircraft: the next one loaded is number 2 in row 0.
    ASSERT_EQ(addMissile(*world, 1, 3, 0), 0);
    removeAircraft(*world, 1);
    world->events.take();
    clickAircraft(0);
    QTest::mouseClick(child<QPushButton>("addMissileButton"), Qt::LeftButton);  // "Добавить ПРР"
    ASSERT_EQ(form->view().selectedMissile, 0);
    const int shown = numberIn(child<MissileWindow>("missileWindow")->windowTitle());
    EXPECT_EQ(shown, 2);
    MapLabels labels;
    EXPECT_EQ(numberIn(labels.missileText(*world, 0)), shown);
    world->events.take();
    QTest::mouseClick(child<QPushButton>("removeAircraftButton"),
                      Qt::LeftButton);  // the aircraft takes its missile along
    EXPECT_EQ(numberIn(lastSentence(*form, EventKind::MissileRemoved)), shown);
}

// The members of a placed complex are listed with their numbers, and its label carries the
// first member's.
TEST_F(Numbering, ComplexMembersAreListedWithTheirNumbers) {
    int32_t row = -1;
    for (int32_t j = 0; j < world->radarCount && row < 0; ++j) {
        row = world->radars[j].placedComplex >= 0 ? j : -1;
    }
    ASSERT_GE(row, 0);
    form->selectReviewObject(ReviewObject::Radar, world->radars[row].number);
    const PlacedComplex& pc = world->placedComplexes[world->radars[row].placedComplex];
    ASSERT_EQ(child<QListWidget>("complexMemberList")->count(), pc.memberCount);
    for (int32_t k = 0; k < pc.memberCount; ++k) {
        EXPECT_EQ(numberIn(child<QListWidget>("complexMemberList")->item(k)->text()),
                  world->radars[pc.members[k]].number);
    }
    MapLabels labels;
    EXPECT_EQ(numberIn(labels.radarText(*world, row)), world->radars[pc.members[0]].number);
}

}  // namespace
}  // namespace prrsim::ui
