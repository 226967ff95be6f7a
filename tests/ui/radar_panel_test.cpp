#include "ui/radar_panel.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <memory>

#include "catalog/radar_catalog.h"
#include "radar/radar_model.h"
#include "ui/pictures.h"
#include "ui/tform1.h"
#include "ui/ui_text.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

// Forwards the core's panel refreshes to the panel, as the main window does.
class PanelObserver : public WorldObserver {
  public:
    RadarPanel* panel = nullptr;
    void radarPanelRefresh(int32_t row) override { panel->refresh(row); }
    void missileDetonated(const ImpactEvent&) override {}
    void missileWindowHide() override {}
};

// Catalogue positions of the radar types used below.
constexpr int32_t kKubTracking = 0;    // kind 4, illuminator
constexpr int32_t kKubSearch = 1;      // kind 0, blink settings 0..3
constexpr int32_t kImbir = 3;          // kind 2, blink settings 0..5
constexpr int32_t kTunguskaTrack = 4;  // kind 4, no illuminator
constexpr int32_t kBukTracking = 8;    // kind 1, illuminator
constexpr int32_t kBukSearch = 9;      // kind 0, two scan methods
constexpr int32_t kS200 = 17;          // kind 4, continuous wave

class RadarPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startEmptyWorld(*world);
        panel = std::make_unique<RadarPanel>(*world, nullptr);
        observer.panel = panel.get();
        world->observer = &observer;
    }

    // Adds a working radar of `type`, selects it and shows it, as a map click would.
    int32_t selectNew(int32_t type) {
        addRadars(*world, type, -1, true);
        world->radarPlaceMode = false;
        panel->refresh(world->selectedRadar);
        return world->selectedRadar;
    }

    RadarSite& radar(int32_t row) { return world->radars[row]; }

    // A user's mouse move to (x, y) over the compass followed by a click there.
    void clickCompassAt(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), QPointF(x, y), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(panel->Image4, &move);
        QTest::mouseClick(panel->Image4, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
    }

    // A user's choice of item `index` in a drop-down list.
    static void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    static QStringList items(const QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->itemText(i);
        }
        return texts;
    }

    std::unique_ptr<WorldState> world;
    PanelObserver observer;
    std::unique_ptr<RadarPanel> panel;
};

TEST_F(RadarPanelTest, ControlsStandAtTheirPlacesWithTheirCaptions) {
    EXPECT_EQ(panel->objectName(), "Panel2");
    EXPECT_EQ(panel->size(), QSize(185, 441));
    EXPECT_EQ(panel->Button7->text(), "Перенести");
    EXPECT_EQ(panel->CheckBox3->text(), "Режим вобуляции ЧПИ");
    EXPECT_EQ(panel->Image4->geometry(), QRect(8, 97, 62, 62));
    EXPECT_EQ(panel->ListBox1->geometry(), QRect(5, 367, 75, 49));
    EXPECT_EQ(panel->Button5->text(), "Сброс всего");
    EXPECT_EQ(panel->Button5->pos(), QPoint(111, 416));
    EXPECT_EQ(panel->TrackBar3->maximum(), 100);
}

TEST_F(RadarPanelTest, SearchRadarShowsBlinkSettingsAndHidesIllumination) {
    const int32_t r = selectNew(kKubSearch);
    EXPECT_EQ(panel->Label23->text(), "Куб, РЛС обнаружения 1С11");
    EXPECT_EQ(items(panel->ComboBox3), QStringList({"0", "1", "2", "3"}));
    EXPECT_EQ(panel->ComboBox3->currentIndex(), 0);
    EXPECT_TRUE(panel->CheckBox5->isHidden());
    EXPECT_FALSE(panel->ListBox1->isEnabled());
    EXPECT_FALSE(panel->CheckBox4->isEnabled());
    EXPECT_EQ(panel->Edit7->text(), "300");
    EXPECT_EQ(panel->Edit8->text(), "220");
    EXPECT_EQ(panel->Edit9->text(), QString::number(radar(r).frequencyPercent));
    EXPECT_EQ(panel->TrackBar3->value(), radar(r).frequencyPercent);
    EXPECT_EQ(panel->ComboBox5->count(), 1);
    EXPECT_TRUE(panel->CheckBox1->isChecked());
    EXPECT_TRUE(panel->CheckBox2->isChecked());
}

TEST_F(RadarPanelTest, MultiTargetRadarEnablesTheTrackList) {
    selectNew(kImbir);
    EXPECT_EQ(items(panel->ComboBox3), QStringList({"0", "1", "2", "3", "4", "5"}));
    EXPECT_TRUE(panel->ListBox1->isEnabled());
    EXPECT_TRUE(panel->CheckBox4->isEnabled());
    EXPECT_EQ(items(panel->ComboBox7),
              QStringList({"Поиск РГЧ", "Поиск ракет", "Поиск самолётов"}));
    EXPECT_EQ(panel->ComboBox5->count(), 3);
}

TEST_F(RadarPanelTest, IlluminationBoxFollowsKindAndIlluminator) {
    selectNew(kKubTracking);  // kind 4 with illuminator
    EXPECT_FALSE(panel->CheckBox5->isHidden());
    EXPECT_EQ(panel->ComboBox3->count(), 0);

    selectNew(kBukTracking);  // kind 1: hidden although it has an illuminator
    EXPECT_TRUE(panel->CheckBox5->isHidden());
    EXPECT_EQ(panel->ComboBox3->count(), 0);
    EXPECT_EQ(items(panel->ComboBox7), QStringList({"Самостоятельный поиск", "Поиск ЦУ"}));
}

// A radar without an illuminator shown after one with it used to keep "Подсвет" on show.
TEST_F(RadarPanelTest, IlluminationBoxHiddenForARadarWithoutIlluminator) {
    for (const int32_t without : {kImbir, kTunguskaTrack}) {
        selectNew(kKubTracking);
        ASSERT_FALSE(panel->CheckBox5->isHidden());
        selectNew(without);
        EXPECT_TRUE(panel->CheckBox5->isHidden()) << radarType(without).name;
    }
}

// A tracking radar shown after another radar used to keep that radar's frequency in MHz (a 1С31
// showed the 920 MHz of the radar before it).
TEST_F(RadarPanelTest, FrequencyBoxesShowTheShownRadarOfEveryKind) {
    for (const int32_t type : {kKubSearch, kTunguskaTrack, kImbir, kBukTracking, kKubTracking}) {
        const int32_t r = selectNew(type);
        EXPECT_EQ(panel->Edit10->text(), realText(radar(r).frequency)) << radarType(type).name;
        EXPECT_EQ(panel->Edit9->text(), QString::number(radar(r).frequencyPercent));
        EXPECT_EQ(panel->TrackBar3->value(), radar(r).frequencyPercent);
    }
}

// The closed "Сигнал" list cut its label without a sign ("200Гц  (0%) 2мкс (2"); the labels
// are wider than the panel.
TEST_F(RadarPanelTest, LongEmissionModeLabelIsCutVisiblyWithTheWholeAsTooltip) {
    selectNew(kImbir);
    ElidingComboBox* box = panel->ComboBox5;
    const QString whole = box->currentText();
    ASSERT_GT(box->fontMetrics().horizontalAdvance(whole), box->width());
    EXPECT_TRUE(box->shownText().endsWith(QChar(0x2026))) << box->shownText().toStdString();
    EXPECT_TRUE(whole.startsWith(box->shownText().chopped(1)));
    EXPECT_LT(box->fontMetrics().horizontalAdvance(box->shownText()), box->width() - 16);

    panel->show();
    QHelpEvent tip(QEvent::ToolTip, QPoint(10, 10), box->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(box, &tip);
    EXPECT_EQ(QToolTip::text(), whole);
    QToolTip::hideText();

    // Open, the list shows every label whole.
    box->showPopup();
    EXPECT_GE(box->view()->width(), box->view()->sizeHintForColumn(0));
    box->hidePopup();

    // A label that fits is shown whole.
    selectNew(kS200);  // "0Гц  (0%) CW"
    EXPECT_EQ(box->shownText(), box->currentText());
}

TEST_F(RadarPanelTest, CompassClickSetsRightDownLeftAndDiagonal) {
    const int32_t r = selectNew(kKubSearch);
    const struct {
        QPoint at;
        int32_t direction;
    } rows[] = {
        {{61, 31}, 360},  // right of the centre
        {{31, 61}, 90},   // below
        {{1, 31}, 180},   // left
        {{11, 51}, 134},  // exact diagonal below-left
        {{31, 1}, 270},   // above
    };
    for (const auto& row : rows) {
        clickCompassAt(row.at.x(), row.at.y());
        EXPECT_EQ(world->radarCompassCursor.x, row.at.x());
        EXPECT_EQ(radar(r).antennaDirection, row.direction) << row.at.x() << "," << row.at.y();
        EXPECT_EQ(panel->Label21->text(), QString::number(row.direction));
    }
}

TEST_F(RadarPanelTest, CompassNeedleShowsTheSelectedRadarsDirection) {
    const int32_t first = selectNew(kKubSearch);
    const int32_t second = selectNew(kImbir);
    setAntennaDirection(radar(first), 180);
    setAntennaDirection(radar(second), 90);
    ASSERT_EQ(world->selectedRadar, second);
    const QColor blue(0, 0, 255);
    ASSERT_NE(compassPicture().toImage().pixelColor(31, 50), blue);

    // Refreshing the other radar still shows the selected one's needle (down).
    panel->refresh(first);
    const QImage image = panel->compassImage().toImage();
    EXPECT_EQ(image.pixelColor(31, 50), blue);
    EXPECT_NE(image.pixelColor(12, 31), blue);
    EXPECT_EQ(panel->Label21->text(), "90");
    EXPECT_EQ(panel->Label23->text(), "Куб, РЛС обнаружения 1С11");
}

TEST_F(RadarPanelTest, RefreshDoesNotWriteTheShownRadarOntoTheSelectedOne) {
    const int32_t silent = selectNew(kKubSearch);
    panel->CheckBox1->click();  // emission off
    ASSERT_FALSE(radar(silent).emissionOn);
    const int32_t selected = selectNew(kKubSearch);
    const RadarSite before = radar(selected);

    panel->refresh(silent);
    EXPECT_FALSE(panel->CheckBox1->isChecked());
    EXPECT_EQ(panel->TrackBar3->value(), radar(silent).frequencyPercent);
    EXPECT_TRUE(radar(selected).emissionOn);
    EXPECT_TRUE(radar(selected).radiating);
    EXPECT_EQ(radar(selected).frequencyPercent, before.frequencyPercent);
    EXPECT_EQ(radar(selected).scanCount, before.scanCount);
}

TEST_F(RadarPanelTest, EmissionOffDisablesTheTrackingButtons) {
    const int32_t r = selectNew(kImbir);
    EXPECT_TRUE(panel->Button8->isEnabled());
    EXPECT_TRUE(panel->Button9->isEnabled());
    EXPECT_TRUE(panel->Button5->isEnabled());
    EXPECT_EQ(panel->Label26->palette().color(QPalette::WindowText), QColor(Qt::red));

    panel->CheckBox1->click();
    EXPECT_FALSE(radar(r).emissionOn);
    EXPECT_FALSE(radar(r).radiating);
    EXPECT_FALSE(panel->Button8->isEnabled());
    EXPECT_FALSE(panel->Button9->isEnabled());
    EXPECT_FALSE(panel->Button5->isEnabled());
    EXPECT_EQ(panel->Label26->palette().color(QPalette::WindowText), QColor(Qt::black));

    panel->CheckBox1->click();
    EXPECT_TRUE(radar(r).radiating);
    EXPECT_TRUE(panel->Button8->isEnabled());
}

TEST_F(RadarPanelTest, BlinkChoiceRestartsTheBlink) {
    const int32_t r = selectNew(kKubSearch);
    radar(r).scanCount = 7;
    choose(panel->ComboBox3, 2);
    EXPECT_EQ(radar(r).blinkPeriod, 2);
    EXPECT_EQ(radar(r).scanCount, 1);
    EXPECT_FALSE(radar(r).radiating);
    EXPECT_TRUE(radar(r).emissionOn);
    // Silent now: the tracking buttons wait for the radiation.
    EXPECT_FALSE(panel->Button8->isEnabled());
    EXPECT_EQ(panel->ComboBox3->currentIndex(), 2);
}

TEST_F(RadarPanelTest, WobbleBoxIsUntickedAgainByTheRefresh) {
    selectNew(kBukSearch);
    panel->CheckBox3->click();
    EXPECT_FALSE(panel->CheckBox3->isChecked());
    selectNew(kBukTracking);
    panel->CheckBox3->click();
    EXPECT_FALSE(panel->CheckBox3->isChecked());
}

TEST_F(RadarPanelTest, HandlersReachTheSelectedRadar) {
    const int32_t r = selectNew(kBukSearch);
    choose(panel->ComboBox7, 1);
    EXPECT_EQ(radar(r).scanMethod, 1);
    EXPECT_EQ(panel->ComboBox7->currentIndex(), 1);
    panel->TrackBar3->setValue(50);  // as a drag of the thumb does
    EXPECT_EQ(radar(r).frequencyPercent, 50);
    EXPECT_DOUBLE_EQ(radar(r).frequency, 2800 + (3600 - 2800) * 0.01 * 50);
    EXPECT_EQ(panel->Edit9->text(), "50");
    panel->CheckBox2->click();
    EXPECT_FALSE(radar(r).rotationOn);
    EXPECT_FALSE(panel->CheckBox2->isChecked());

    const int32_t buk = selectNew(kBukTracking);
    choose(panel->ComboBox5, 2);
    EXPECT_EQ(radar(buk).prfMode, 2);

    const int32_t kub = selectNew(kKubTracking);
    panel->CheckBox5->click();
    EXPECT_TRUE(radar(kub).illuminationOn);
    panel->CheckBox5->click();
    EXPECT_FALSE(radar(kub).illuminationOn);

    // Without a selection the handlers change nothing.
    const int32_t search = selectNew(kKubSearch);
    world->selectedRadar = -1;
    panel->CheckBox1->click();
    panel->CheckBox2->click();
    EXPECT_TRUE(radar(search).emissionOn);
    EXPECT_TRUE(radar(search).rotationOn);
}

TEST_F(RadarPanelTest, PlaceAndCaptureButtonsArmTheirModes) {
    selectNew(kImbir);
    QSignalSpy modes(panel.get(), &RadarPanel::modesChanged);
    world->moveAircraftMode = true;
    panel->Button7->click();
    EXPECT_TRUE(world->radarPlaceMode);
    EXPECT_FALSE(world->moveAircraftMode);
    world->pickTargetMode = true;
    panel->Button8->click();
    EXPECT_TRUE(world->captureMode);
    EXPECT_FALSE(world->pickTargetMode);
    EXPECT_EQ(modes.count(), 2);
}

class TrackingTest : public RadarPanelTest {
  protected:
    // A multi-target radar facing east with three aircraft in its sector on its list.
    void SetUp() override {
        RadarPanelTest::SetUp();
        r = selectNew(kImbir);
        for (int i = 0; i < 3; ++i) {
            const int32_t a = addAircraft(*world);
            world->aircraft[a].x = 400;
            world->aircraft[a].y = 200 + 10 * i;
            assignTarget(*world, r, a);
        }
    }
    int32_t r = -1;
};

TEST_F(TrackingTest, ResetRemovesTheChosenAircraftAndResetAllEmptiesTheList) {
    ASSERT_EQ(panel->ListBox1->count(), 3);
    EXPECT_EQ(panel->ListBox1->item(2)->text(), "2");
    panel->Button9->click();  // nothing chosen: nothing removed
    EXPECT_EQ(radar(r).trackCount, 3);

    panel->ListBox1->setCurrentRow(1);
    panel->Button9->click();
    EXPECT_EQ(radar(r).trackCount, 2);
    ASSERT_EQ(panel->ListBox1->count(), 2);
    EXPECT_EQ(panel->ListBox1->item(0)->text(), "0");
    EXPECT_EQ(panel->ListBox1->item(1)->text(), "2");

    radar(r).captureActive = true;
    panel->Button5->click();  // "Сброс всего"
    EXPECT_EQ(radar(r).trackCount, 0);
    EXPECT_FALSE(radar(r).captureActive);
    EXPECT_EQ(radar(r).currentTarget, -1);
    EXPECT_EQ(panel->ListBox1->count(), 0);
}

TEST_F(RadarPanelTest, RefreshWithoutSelectionShowsTheRowAlone) {
    const int32_t r = selectNew(kKubSearch);
    world->selectedRadar = -1;
    setAntennaDirection(radar(r), 90);
    panel->refresh(r);  // as the radar update does for an unselected radar
    EXPECT_EQ(panel->Label23->text(), "Куб, РЛС обнаружения 1С11");
    EXPECT_EQ(panel->Label21->text(), "0");  // the compass keeps its last needle
    panel->refresh(-1);                      // an invalid row changes nothing
    EXPECT_EQ(panel->Label23->text(), "Куб, РЛС обнаружения 1С11");
}

// "Захват" then a map click on an aircraft puts it on the selected radar's track list.
TEST(RadarPanelWithMainWindow, CaptureThenMapClickTracksTheAircraft) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    addRadars(*world, kImbir, -1, true);
    world->radarPlaceMode = false;
    world->selectedRadar = -1;
    const int32_t a = addAircraft(*world);
    world->aircraft[a].x = 400;
    world->aircraft[a].y = 200;
    TForm1 main(*world);
    main.Timer1->stop();
    main.Timer2->stop();

    main.Image1MouseMove(300, 220);
    main.Image1Click();
    ASSERT_EQ(world->selectedRadar, 0);
    main.Panel2->Button8->click();
    ASSERT_TRUE(world->captureMode);
    main.Image1MouseMove(400, 200);
    main.Image1Click();
    EXPECT_FALSE(world->captureMode);
    ASSERT_EQ(world->radars[0].trackCount, 1);
    EXPECT_EQ(world->radars[0].trackList[0], a);

    main.Image1MouseMove(300, 220);
    main.Image1Click();
    ASSERT_EQ(main.Panel2->ListBox1->count(), 1);
    EXPECT_EQ(main.Panel2->ListBox1->item(0)->text(), QString::number(a));
}

}  // namespace
}  // namespace prrsim::ui
