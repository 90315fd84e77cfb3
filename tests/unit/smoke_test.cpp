#include <gtest/gtest.h>
#include "scene/canvas.h"
TEST(Smoke, CanvasStartsEmpty) { EXPECT_EQ(Canvas.Height(), 0); }
