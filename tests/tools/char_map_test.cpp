// The character map's blocks, grid shapes, cell codes and code labels.
#include <gtest/gtest.h>

#include "tools/char_map.h"

namespace {

TEST(CharMap, Blocks) {
  const auto& blocks = UnicodeBlockCaptions();
  ASSERT_EQ(blocks.size(), 22u);
  EXPECT_EQ(BlockStart(blocks[0]), 0);
  EXPECT_EQ(BlockStart("Cyrillic (1024-1279)"), 1024);
  EXPECT_EQ(BlockStart("Super- and Subscripts (8304-8351)"), 8304);
  EXPECT_EQ(BlockStart(blocks.back()), 9728);
  EXPECT_EQ(BlockStart("Nothing"), -1);
}

TEST(CharMap, GridShapeFollowsTheSize) {
  struct Case {
    int size, columns, cell;
  } cases[] = {{8, 16, 24}, {15, 16, 24}, {16, 12, 32}, {23, 12, 32}, {24, 8, 48}, {35, 8, 48}, {36, 4, 96}, {72, 4, 96}};
  for (const Case& c : cases) {
    const TCharGridShape shape = CharGridForSize(c.size);
    EXPECT_EQ(shape.Columns, c.columns) << c.size;
    EXPECT_EQ(shape.CellSize, c.cell) << c.size;
  }
}

TEST(CharMap, CellCodesAndLabels) {
  EXPECT_EQ(CellCode(1024, 3, 2, 16), 1059);
  EXPECT_EQ(CharCodeLabel(1025), "1025 (#401)");
  EXPECT_EQ(CharCodeLabel(169), "169 (#A9)");
  for (int code : {0, 9, 31, 127, 0x85, 0xD800, 0x10000}) EXPECT_FALSE(IsInsertableChar(code)) << code;
  for (int code : {32, 65, 169, 1025, 0xFFFD}) EXPECT_TRUE(IsInsertableChar(code)) << code;
}

}  // namespace
