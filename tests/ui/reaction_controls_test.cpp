// "Реакция на ПРР": the radar panel's button and the reaction's tool window record one
// setReaction per radar, offer blinking only where the type can blink, and set a whole complex.
#include "ui/reaction_controls.h"

#include <gtest/gtest.h>

#include <QStandardItemModel>
#include <QTest>
#include <memory>

#include "find_child.h"
#include "ui/add_radar_dialog.h"
#include "ui/radar_panel.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

constexpr int32_t kKubTracking = 0;     // fire control: cannot blink
constexpr int32_t kKubSearch = 1;       // blink settings 0..3
constexpr int32_t kTunguskaSearch = 5;  // search, blink list 0 only
constexpr int32_t kKubComplex = 0;      // 1С31 and 1С11

class ReactionControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startEmptyWorld(*world);
        panel = std::make_unique<RadarPanel>(*world, view, nullptr);
        const Perform direct = applyDirectly(*world);
        panel->perform = [this, direct](const batch::Action& a) {
            recorded.push_back(a);
            return direct(a);
        };
    }

    int32_t selectNew(int32_t type) {
        addRadars(*world, type, -1, true);
        view.selectedRadar = world->radarCount - 1;
        panel->refresh(view.selectedRadar);
        return view.selectedRadar;
    }

    static void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    static bool blinkOffered(const ReactionControls& c) {
        const auto* model =
            qobject_cast<const QStandardItemModel*>(childNamed<QComboBox>(&c, "kindBox")->model());
        return model->item(kReactionBlink)->isEnabled();
    }

    std::unique_ptr<WorldState> world;
    ViewState view;
    std::unique_ptr<RadarPanel> panel;
    std::vector<batch::Action> recorded;
};

TEST_F(ReactionControlsTest, ThePanelsButtonRecordsOneSetReaction) {
    const int32_t row = selectNew(kKubSearch);
    QTest::mouseClick(childNamed<QPushButton>(panel.get(), "reactionButton"), Qt::LeftButton);
    ReactionControls& c = *childNamed<ReactionControls>(panel.get(), "reactionControls");
    ASSERT_TRUE(c.isVisible());
    choose(childNamed<QComboBox>(&c, "kindBox"), kReactionBlink);
    EXPECT_EQ(childNamed<QSpinBox>(&c, "valueBox")->maximum(), 3);
    childNamed<QSpinBox>(&c, "warnBox")->setValue(20);
    childNamed<QSpinBox>(&c, "holdBox")->setValue(10);
    childNamed<QSpinBox>(&c, "valueBox")->setValue(2);
    QTest::mouseClick(childNamed<QPushButton>(&c, "applyButton"), Qt::LeftButton);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0], change::setReaction(row, {kReactionBlink, 20, 10, 2}));
    EXPECT_EQ(recorded[0].blinkPeriod, 2);
    EXPECT_FALSE(recorded[0].frequencyPercent.has_value());
    const ReactionSettings set = reactionOf(world->radars[row]);
    EXPECT_EQ(set.kind, kReactionBlink);
    EXPECT_EQ(set.value, 2);
    // Shown again, the window reads the radar's reaction back.
    c.hide();
    QTest::mouseClick(childNamed<QPushButton>(panel.get(), "reactionButton"), Qt::LeftButton);
    EXPECT_EQ(childNamed<QComboBox>(&c, "kindBox")->currentIndex(), kReactionBlink);
    EXPECT_EQ(childNamed<QSpinBox>(&c, "warnBox")->value(), 20);
    EXPECT_EQ(childNamed<QSpinBox>(&c, "holdBox")->value(), 10);
}

TEST_F(ReactionControlsTest, BlinkingIsOfferedOnlyWhereTheTypeCanBlink) {
    const std::pair<int32_t, bool> rows[] = {
        {kKubTracking, false}, {kKubSearch, true}, {kTunguskaSearch, false}};
    for (const auto& [type, offered] : rows) {
        selectNew(type);
        QTest::mouseClick(childNamed<QPushButton>(panel.get(), "reactionButton"), Qt::LeftButton);
        EXPECT_EQ(blinkOffered(*childNamed<ReactionControls>(panel.get(), "reactionControls")),
                  offered)
            << type;
    }
}

TEST_F(ReactionControlsTest, AComplexGetsOneActionPerMember) {
    ASSERT_EQ(addRadars(*world, kKubTracking, -1, true), 1);
    ASSERT_EQ(addRadars(*world, -1, kKubComplex, true), 2);
    const std::vector<int32_t> rows = radarAndComplexRows(*world, 2);
    ASSERT_EQ(rows, (std::vector<int32_t>{1, 2}));
    ReactionControls c(*world, nullptr);
    c.perform = panel->perform;
    c.showRadars(rows);
    EXPECT_FALSE(blinkOffered(c));  // the 1С31 cannot
    choose(childNamed<QComboBox>(&c, "kindBox"), kReactionHop);
    childNamed<QSpinBox>(&c, "valueBox")->setValue(75);
    QTest::mouseClick(childNamed<QPushButton>(&c, "applyButton"), Qt::LeftButton);
    ASSERT_EQ(recorded.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(recorded[i].radar, rows[i]);
        EXPECT_EQ(recorded[i].frequencyPercent, 75);
        EXPECT_EQ(world->radars[rows[i]].reactionKind, kReactionHop);
    }
    EXPECT_EQ(world->radars[0].reactionKind, kReactionNone);
}

// The add-radar dialog with "Задать реакцию…" checked gives the new complex one reaction: after
// OK the panel's reaction window shows the new members only, and "Применить" records one
// setReaction per member.
TEST_F(ReactionControlsTest, TheAddRadarDialogGivesANewComplexOneReaction) {
    ASSERT_EQ(addRadars(*world, kKubSearch, -1, true), 1);
    QWidget owner;
    AddRadarDialog dialog(*world, &owner);
    dialog.perform = panel->perform;
    QObject::connect(&dialog, &AddRadarDialog::reactionWanted, panel.get(),
                     &RadarPanel::openReactionFor);
    dialog.resetChoices();
    childNamed<QComboBox>(&dialog, "complexBox")->setCurrentIndex(kKubComplex + 1);
    auto* reactionBox = childNamed<QCheckBox>(&dialog, "newRadarsReactionBox");
    reactionBox->setChecked(true);
    QTest::mouseClick(childNamed<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
    ASSERT_EQ(world->radarCount, 3);
    ASSERT_EQ(recorded.size(), 1u);  // addComplex
    ReactionControls& c = *childNamed<ReactionControls>(panel.get(), "reactionControls");
    EXPECT_FALSE(c.isHidden());
    EXPECT_FALSE(blinkOffered(c));  // the 1С31 cannot blink
    choose(childNamed<QComboBox>(&c, "kindBox"), kReactionShutdown);
    childNamed<QSpinBox>(&c, "warnBox")->setValue(30);
    QTest::mouseClick(childNamed<QPushButton>(&c, "applyButton"), Qt::LeftButton);
    ASSERT_EQ(recorded.size(), 3u);
    for (const int32_t row : {1, 2}) {
        EXPECT_EQ(recorded[row].radar, row);
        EXPECT_EQ(world->radars[row].reactionKind, kReactionShutdown);
        EXPECT_EQ(world->radars[row].reactionWarnKm, 30);
    }
    EXPECT_EQ(world->radars[0].reactionKind, kReactionNone);
    // Unchecked, OK opens nothing.
    c.hide();
    dialog.resetChoices();
    childNamed<QComboBox>(&dialog, "singleRadarBox")->setCurrentIndex(kKubSearch + 1);
    reactionBox->setChecked(false);
    QTest::mouseClick(childNamed<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(world->radarCount, 4);
    EXPECT_TRUE(c.isHidden());
}

}  // namespace
}  // namespace prrsim::ui
