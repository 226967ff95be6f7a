// The add-radar dialog: OK with a complex chosen adds all its radars as one new complex.
#include "ui/tform2.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <memory>

#include "world/world.h"

namespace prrsim::ui {
namespace {

constexpr int kTorItem = 3;  // "ЗРК Тор", after "---"

class TForm2Test : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startEmptyWorld(*world);
        form = std::make_unique<TForm2>(*world, nullptr);
        form->show();
        form->FormActivate();
    }

    static void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    std::unique_ptr<WorldState> world;
    std::unique_ptr<TForm2> form;
};

TEST_F(TForm2Test, OkWithAComplexAddsAllItsRadarsInOneNewComplex) {
    world->moveAircraftMode = true;
    QSignalSpy added(form.get(), &TForm2::radarsAdded);
    QSignalSpy closed(form.get(), &TForm2::closed);
    choose(form->ComboBox2, kTorItem);
    form->Button1->click();

    ASSERT_EQ(world->radarCount, 2);
    ASSERT_EQ(world->placedComplexCount, 1);
    EXPECT_EQ(world->radars[0].typeIndex, 6);  // "Тор, РЛС сопровождения"
    EXPECT_EQ(world->radars[1].typeIndex, 7);  // "Тор, РЛС обнаружения"
    EXPECT_EQ(world->radars[0].placedComplex, 0);
    EXPECT_EQ(world->radars[1].placedComplex, 0);
    EXPECT_EQ(world->placedComplexes[0].complexIndex, 2);
    EXPECT_EQ(world->placedComplexes[0].members[1], 1);
    EXPECT_EQ(world->selectedRadar, 1);
    EXPECT_TRUE(world->radarPlaceMode);
    EXPECT_FALSE(world->moveAircraftMode);
    EXPECT_TRUE(world->radars[1].emissionOn);
    EXPECT_TRUE(world->radars[1].radiating);
    EXPECT_EQ(added.count(), 1);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(form->isHidden());
}

}  // namespace
}  // namespace prrsim::ui
