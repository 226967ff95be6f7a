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
#include "find_child.h"
#include "radar/radar_model.h"
#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/ui_text.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

// Forwards the core's panel refreshes to the panel, as the main window does.
class PanelObserver : public WorldObserver {
  public:
    RadarPanel* panel = nullptr;
    const ViewState* view = nullptr;
    void radarPanelRefresh(int32_t row) override {
        if (row == view->selectedRadar) {
            panel->refresh(row);
        }
    }
    void missileDetonated(const ImpactEvent&) override {}
    void missileRemoved(int32_t) override {}
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
        panel = std::make_unique<RadarPanel>(*world, view, nullptr);
        observer.panel = panel.get();
        observer.view = &view;
        world->observer = &observer;
    }

    // Adds a working radar of `type`, selects it and shows it, as a map click would.
    int32_t selectNew(int32_t type) {
        addRadars(*world, type, -1, true);
        view.selectedRadar = world->radarCount - 1;
        panel->refresh(view.selectedRadar);
        return view.selectedRadar;
    }

    RadarSite& radar(int32_t row) { return world->radars[row]; }

    // A user's mouse move to (x, y) over the compass followed by a click there.
    void clickCompassAt(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), QPointF(x, y), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(childNamed<PictureBox>(panel.get(), "antennaCompass"), &move);
        QTest::mouseClick(childNamed<PictureBox>(panel.get(), "antennaCompass"), Qt::LeftButton,
                          Qt::NoModifier, QPoint(x, y));
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
    ViewState view;
    std::unique_ptr<RadarPanel> panel;
};

// A radar without an illuminator shown after one with it used to keep "Подсвет" on show.
TEST_F(RadarPanelTest, IlluminationBoxHiddenForARadarWithoutIlluminator) {
    for (const int32_t without : {kImbir, kTunguskaTrack}) {
        selectNew(kKubTracking);
        ASSERT_FALSE(childNamed<QCheckBox>(panel.get(), "illuminationBox")->isHidden());
        selectNew(without);
        EXPECT_TRUE(childNamed<QCheckBox>(panel.get(), "illuminationBox")->isHidden())
            << radarType(without).name;
    }
}

// A tracking radar shown after another radar used to keep that radar's frequency in MHz (a 1С31
// showed the 920 MHz of the radar before it).
TEST_F(RadarPanelTest, FrequencyBoxesShowTheShownRadarOfEveryKind) {
    for (const int32_t type : {kKubSearch, kTunguskaTrack, kImbir, kBukTracking, kKubTracking}) {
        const int32_t r = selectNew(type);
        EXPECT_EQ(childNamed<QLineEdit>(panel.get(), "frequencyEdit")->text(),
                  realText(radar(r).frequency))
            << radarType(type).name;
        EXPECT_EQ(childNamed<QLineEdit>(panel.get(), "frequencyPercentEdit")->text(),
                  QString::number(radar(r).frequencyPercent));
        EXPECT_EQ(childNamed<QSlider>(panel.get(), "frequencySlider")->value(),
                  radar(r).frequencyPercent);
    }
}

// The closed "Сигнал" list cut its label without a sign ("200Гц  (0%) 2мкс (2"); the labels
// are wider than the panel.
TEST_F(RadarPanelTest, LongEmissionModeLabelIsCutVisiblyWithTheWholeAsTooltip) {
    selectNew(kImbir);
    ElidingComboBox* box = childNamed<ElidingComboBox>(panel.get(), "emissionModeBox");
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

TEST_F(RadarPanelTest, RefreshDoesNotWriteTheShownRadarOntoTheSelectedOne) {
    const int32_t silent = selectNew(kKubSearch);
    childNamed<QCheckBox>(panel.get(), "emissionBox")->click();  // emission off
    ASSERT_FALSE(radar(silent).emissionOn);
    const int32_t selected = selectNew(kKubSearch);
    const RadarSite before = radar(selected);

    panel->refresh(silent);
    EXPECT_FALSE(childNamed<QCheckBox>(panel.get(), "emissionBox")->isChecked());
    EXPECT_EQ(childNamed<QSlider>(panel.get(), "frequencySlider")->value(),
              radar(silent).frequencyPercent);
    EXPECT_TRUE(radar(selected).emissionOn);
    EXPECT_TRUE(radar(selected).radiating);
    EXPECT_EQ(radar(selected).frequencyPercent, before.frequencyPercent);
    EXPECT_EQ(radar(selected).scanCount, before.scanCount);
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

}  // namespace
}  // namespace prrsim::ui
