// Shrinking a picture averages each square of pixels, transparency included.
#include <gtest/gtest.h>

#include "backdrop/Canvas.h"

namespace {

TEST(Canvas, ShrunkAveragesEachSquareAndDropsPartialEdges) {
  art::Canvas canvas(5, 2);  // the fifth column cannot fill a square and goes
  canvas.fillRect(0, 0, 2, 2, art::Rgba{1, 1, 1, 1});
  canvas.fillRect(2, 0, 3, 1, art::Rgba{1, 0, 0, 1});
  canvas.fillRect(4, 0, 5, 2, art::Rgba{0, 1, 0, 1});
  const art::Canvas small = canvas.shrunk(2);
  ASSERT_EQ(small.width(), 2);
  ASSERT_EQ(small.height(), 1);
  const art::Rgba white = small.pixel(0, 0), red = small.pixel(1, 0);
  EXPECT_FLOAT_EQ(white.a, 1.0f);
  EXPECT_FLOAT_EQ(white.g, 1.0f);
  // One red pixel of four: a quarter covered, and still red where it is.
  EXPECT_FLOAT_EQ(red.a, 0.25f);
  EXPECT_FLOAT_EQ(red.r, 1.0f);
  EXPECT_FLOAT_EQ(red.g, 0.0f);
}

}  // namespace
