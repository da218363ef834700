// Where a window with a saved position goes: kept where it fits on a
// screen, else moved onto the nearest one.
#include <gtest/gtest.h>

#include "components/screen_fit.h"

namespace brevika {
namespace {

// Two screens side by side: 1280 x 1024 (taskbar at the bottom: 1280 x 994
// available) and 1920 x 1080 to its right.
const QRect kLeft(0, 0, 1280, 994);
const QRect kRight(1280, 0, 1920, 1080);

TEST(ScreenFit, KeptWhereTheWholeFrameIsOnAScreen) {
  EXPECT_EQ(FitOnScreens(QRect(10, 20, 620, 490), {kLeft, kRight}), QPoint(10, 20));
  EXPECT_EQ(FitOnScreens(QRect(1300, 500, 620, 490), {kLeft, kRight}), QPoint(1300, 500));
  // Touching the edges still fits: 660 + 620 = 1280, 504 + 490 = 994.
  EXPECT_EQ(FitOnScreens(QRect(660, 504, 620, 490), {kLeft, kRight}), QPoint(660, 504));
  // Without screens nothing is known: kept.
  EXPECT_EQ(FitOnScreens(QRect(-500, -500, 620, 490), {}), QPoint(-500, -500));
}

TEST(ScreenFit, MovedOntoTheScreenItOverlapsMost) {
  // Over the bottom right corner of the left screen: moved up and left by
  // what hangs over, 1000 + 620 - 1280 = 340 and 800 + 490 - 994 = 296.
  EXPECT_EQ(FitOnScreens(QRect(1000, 800, 620, 490), {kLeft}), QPoint(660, 504));
  // Title bar above the top edge (saved at a larger scale): down to 0.
  EXPECT_EQ(FitOnScreens(QRect(19, -10, 620, 530), {kLeft, kRight}), QPoint(19, 0));
  // Across both screens, mostly on the right one (1100..1720): onto it.
  EXPECT_EQ(FitOnScreens(QRect(1100, 100, 620, 490), {kLeft, kRight}), QPoint(1280, 100));
  // 900..1519 has 380 pixels on the left screen, 240 on the right: onto
  // the left one, at its right edge.
  EXPECT_EQ(FitOnScreens(QRect(900, 100, 620, 490), {kLeft, kRight}), QPoint(660, 100));
}

TEST(ScreenFit, OffEveryScreenToTheNearestOne) {
  // Far to the right of both: the right screen, at its right edge.
  EXPECT_EQ(FitOnScreens(QRect(9000, 9000, 620, 490), {kLeft, kRight}), QPoint(2580, 590));
  // Far to the left and above: the left screen, at its top-left corner.
  EXPECT_EQ(FitOnScreens(QRect(-3000, -2000, 620, 490), {kLeft, kRight}), QPoint(0, 0));
  // Below the left screen only (its centre 310 is nearest to it): up.
  EXPECT_EQ(FitOnScreens(QRect(0, 1200, 620, 490), {kLeft, kRight}), QPoint(0, 504));
}

TEST(ScreenFit, LargerThanTheScreenKeepsItsTitleBarOnIt) {
  const QRect small(0, 0, 800, 600);
  EXPECT_EQ(FitOnScreens(QRect(100, 50, 1224, 950), {small}), QPoint(0, 0));
  EXPECT_EQ(FitOnScreens(QRect(-50, 700, 1224, 300), {small}), QPoint(0, 300));
}

}  // namespace
}  // namespace brevika
