#include "ui/tform2.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <memory>

#include "ui/radar_panel.h"
#include "ui/tform1.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

constexpr int kTorItem = 3;        // "ЗРК Тор", after "---"
constexpr int kKubSearchItem = 2;  // "Куб, РЛС обнаружения 1С11", after "---"

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

TEST_F(TForm2Test, WindowControlsAndLists) {
    EXPECT_EQ(form->windowTitle(), "Добавить РЛС");
    EXPECT_EQ(form->size(), QSize(358, 128));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(form->Label2->text(), "Отдельные РЛС");
    EXPECT_EQ(form->Label1->text(), "Платформы ЗРК");
    EXPECT_EQ(form->CheckBox1->text(), "В рабочем состоянии");
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_EQ(form->Button1->text(), "OK");
    EXPECT_EQ(form->Button2->text(), "Cancel");
    // Activation fills both lists, "---" chosen.
    ASSERT_EQ(form->ComboBox1->count(), 21);
    ASSERT_EQ(form->ComboBox2->count(), 5);
    EXPECT_EQ(form->ComboBox1->itemText(0), "---");
    EXPECT_EQ(form->ComboBox1->itemText(1), "Куб, РЛС сопровождения 1С31");
    EXPECT_EQ(form->ComboBox1->itemText(20), "Hawk MPQ-51");
    EXPECT_EQ(form->ComboBox2->itemText(0), "---");
    EXPECT_EQ(form->ComboBox2->itemText(kTorItem), "ЗРК Тор");
    EXPECT_EQ(form->ComboBox2->itemText(4), "ЗРК Оса");
    EXPECT_EQ(form->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form->ComboBox2->currentIndex(), 0);
}

TEST_F(TForm2Test, ActivatingAgainResetsTheLists) {
    choose(form->ComboBox1, kKubSearchItem);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form.get(), &activate);
    EXPECT_EQ(form->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form->ComboBox1->count(), 21);
    EXPECT_EQ(form->ComboBox2->count(), 5);
}

TEST_F(TForm2Test, ChoosingInOneListResetsTheOther) {
    choose(form->ComboBox1, kKubSearchItem);
    choose(form->ComboBox2, kTorItem);
    EXPECT_EQ(form->ComboBox1->currentIndex(), 0);
    choose(form->ComboBox1, kKubSearchItem);
    EXPECT_EQ(form->ComboBox2->currentIndex(), 0);
    // Choosing "---" leaves the other list alone.
    choose(form->ComboBox2, kTorItem);
    choose(form->ComboBox1, 0);
    EXPECT_EQ(form->ComboBox2->currentIndex(), kTorItem);
}

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

TEST_F(TForm2Test, UntickedWorkingStateAddsSilentRadars) {
    form->CheckBox1->click();
    ASSERT_FALSE(form->CheckBox1->isChecked());
    choose(form->ComboBox1, kKubSearchItem);
    form->Button1->click();
    ASSERT_EQ(world->radarCount, 1);
    EXPECT_EQ(world->radars[0].typeIndex, 1);
    EXPECT_EQ(world->radars[0].placedComplex, -1);
    EXPECT_FALSE(world->radars[0].emissionOn);
    EXPECT_FALSE(world->radars[0].rotationOn);
    EXPECT_FALSE(world->radars[0].radiating);
    EXPECT_EQ(world->placedComplexCount, 0);
}

TEST_F(TForm2Test, OkWithoutAChoiceAndCancelAddNothing) {
    QSignalSpy added(form.get(), &TForm2::radarsAdded);
    QSignalSpy closed(form.get(), &TForm2::closed);
    form->Button1->click();
    EXPECT_TRUE(form->isHidden());
    form->show();
    form->FormActivate();
    choose(form->ComboBox2, kTorItem);
    form->Button2->click();  // Cancel
    EXPECT_TRUE(form->isHidden());
    EXPECT_EQ(world->radarCount, 0);
    EXPECT_EQ(world->placedComplexCount, 0);
    EXPECT_FALSE(world->radarPlaceMode);
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(closed.count(), 2);
}

// Through the main window: the dialog disables it while open, and after OK the next map click
// places the whole complex.
TEST(TForm2WithMainWindow, AddedComplexIsPlacedByTheNextMapClick) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    TForm1 main(*world);
    main.Timer1->stop();
    main.Timer2->stop();
    main.Button12Click();
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(main.Form2->isEnabled());
    main.Form2->FormActivate();
    main.Form2->ComboBox2->setCurrentIndex(kTorItem);
    emit main.Form2->ComboBox2->activated(kTorItem);
    main.Form2->Button1->click();
    EXPECT_TRUE(main.isEnabled());
    ASSERT_EQ(world->radarCount, 2);
    EXPECT_FALSE(main.Panel2->isHidden());
    EXPECT_EQ(main.Panel2->Label23->text(), "Тор, РЛС обнаружения");

    main.Image1MouseMove(100, 150);
    main.Image1Click();
    EXPECT_FALSE(world->radarPlaceMode);
    for (int32_t r = 0; r < 2; ++r) {
        EXPECT_EQ(world->radars[r].x, 100);
        EXPECT_EQ(world->radars[r].y, 150);
    }
}

}  // namespace
}  // namespace prrsim::ui
