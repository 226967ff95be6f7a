// The map drawing: pixels of rendered frames where a fault would show.
#include "ui/map_view.h"
#include "form_fixture.h"

namespace prrsim::ui {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);

class MapDrawing : public FormTest {
  protected:
    QColor at(int x, int y) const { return form->Image1->frame().pixelColor(x, y); }

    // Renders a frame of the scene as the redraw timer does.
    void redraw() { form->Timer2Timer(); }

    // True when some pixel of the rectangle has the colour.
    bool anyPixel(const QRect& area, const QColor& colour) const {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (at(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(MapDrawing, LandmarkSquaresAreBlackOnTheBackground) {
    emptyScene();
    redraw();
    // Landmark 0: (380, 180), size 549: the square covers 380..384 (5.49 truncated to 385,
    // exclusive).
    EXPECT_EQ(at(380, 180), kBlack);
    EXPECT_EQ(at(384, 184), kBlack);
    EXPECT_EQ(at(385, 181), kWhite);
    EXPECT_EQ(at(381, 179), kWhite);
    // Landmark 11 (427, 263), size 44, is too small to cover a pixel.
    EXPECT_EQ(at(427, 263), kWhite);
    EXPECT_EQ(at(10, 10), kWhite);
}

TEST_F(MapDrawing, RadarSymbolHasItsKindsColourAndSelectedWidth) {
    emptyScene();
    const int square = typeOfKind(4);
    const int circle = typeOfKind(0);
    ASSERT_GE(square, 0);
    ASSERT_GE(circle, 0);
    placeRadar(square, 100, 100);
    placeRadar(circle, 200, 100);
    redraw();
    EXPECT_EQ(at(95, 100), kGreen);
    EXPECT_EQ(at(100, 95), kGreen);
    EXPECT_EQ(at(94, 100), kWhite);  // one pixel wide while not selected
    EXPECT_EQ(at(100, 100), kWhite);
    EXPECT_EQ(at(192, 100), kBlue);                                      // circle of radius 8
    EXPECT_TRUE(anyPixel(QRect(105, 105, 40, 8), QColor(0, 102, 204)));  // its label

    clickMap(100, 100);
    ASSERT_EQ(world->selectedRadar, 0);
    redraw();
    EXPECT_EQ(at(94, 100), kGreen);  // three pixels wide when selected
}

TEST_F(MapDrawing, InvalidTypeOrAttackTargetDrawsNoSymbolNorLine) {
    emptyScene();
    placeRadar(0, 100, 100);
    world->radars[0].typeIndex = 99;  // no catalogue type
    redraw();
    EXPECT_FALSE(anyPixel(QRect(85, 85, 30, 20), kBlue));
    EXPECT_FALSE(anyPixel(QRect(85, 85, 30, 20), kGreen));
    placeAircraft(200, 200);
    world->aircraft[0].targetRadar = 3;  // no such radar: no attack line
    redraw();
    EXPECT_FALSE(anyPixel(QRect(0, 0, 600, 440), kRed));
}

TEST_F(MapDrawing, SelectedAircraftHasARedCircleAndAThickAttackLine) {
    emptyScene();
    placeAircraft(200, 200);
    placeAircraft(300, 200);
    placeRadar(typeOfKind(4), 200, 300);
    world->aircraft[0].targetRadar = 0;
    world->aircraft[1].targetRadar = 0;
    redraw();
    EXPECT_EQ(at(208, 200), kWhite);
    EXPECT_EQ(at(200, 250), kRed);  // attack line, one pixel wide
    EXPECT_EQ(at(201, 250), kWhite);

    clickMap(200, 200);
    ASSERT_EQ(world->selectedAircraft, 0);
    redraw();
    EXPECT_EQ(at(208, 200), kRed);
    EXPECT_EQ(at(192, 200), kRed);
    EXPECT_EQ(at(201, 250), kRed);    // three pixels wide for the selected aircraft
    EXPECT_EQ(at(308, 200), kWhite);  // the other aircraft has no circle
}

TEST_F(MapDrawing, ImpactTextIsCentredOnTheImpactPoint) {
    emptyScene();
    form->missileDetonated(ImpactEvent{0, 0, 100.9, 60.2});
    redraw();
    EXPECT_TRUE(anyPixel(QRect(90, 50, 20, 20), kRed));
    EXPECT_TRUE(anyPixel(QRect(70, 40, 30, 40), kRed));   // left of the point
    EXPECT_TRUE(anyPixel(QRect(101, 40, 30, 40), kRed));  // and right of it
    EXPECT_FALSE(anyPixel(QRect(150, 0, 100, 150), kRed));
    form->Timer3Timer();
    form->Timer3Timer();
    redraw();
    EXPECT_FALSE(anyPixel(QRect(0, 0, 300, 150), kRed));
}

TEST_F(MapDrawing, SelectedMissileHasARedCircle) {
    emptyScene();
    placeAircraft(200, 200);
    clickMap(200, 200);
    QTest::mouseClick(form->Button16, Qt::LeftButton);
    ASSERT_EQ(world->selectedMissile, 0);
    redraw();
    // Radius 5 around the missile (the aircraft's circle has radius 8).
    EXPECT_EQ(at(205, 200), kRed);
    EXPECT_EQ(at(195, 200), kRed);
}

}  // namespace
}  // namespace prrsim::ui
