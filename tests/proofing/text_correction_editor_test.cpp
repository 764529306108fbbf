// The plain-text editor of the correction engine keeps its text as a plain string would, however
// its replacements move through the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "proofing/text_correction_editor.h"

namespace {

TEST(TextCorrectionEditor, ReplacementsAndRangesMatchAPlainString) {
  std::mt19937 random(7);
  std::string model = "one two three four five six seven eight nine ten";
  TTextCorrectionEditor editor(model);
  for (int step = 0; step < 2000; ++step) {
    const int length = static_cast<int>(model.size());
    ASSERT_EQ(editor.TextLength(), length);
    // Forward mostly, as a pass goes, and now and then back or out of the text.
    const int start = static_cast<int>(random() % (length + 3)) - 1, end = start + static_cast<int>(random() % 6);
    const std::string text(random() % (step % 50 == 0 ? 300 : 8), static_cast<char>('a' + step % 26));
    editor.Replace(start, end, text);
    const int from = std::clamp(start, 0, length), to = std::clamp(end, from, length);
    model.replace(from, to - from, text);
    const int rangeStart = static_cast<int>(random() % (model.size() + 1)), rangeEnd = rangeStart + static_cast<int>(random() % 40);
    ASSERT_EQ(editor.TextRange(rangeStart, rangeEnd), model.substr(rangeStart, rangeEnd - rangeStart)) << step;
    if (step % 100 == 0) ASSERT_EQ(editor.Text(), model) << step;
  }
  EXPECT_EQ(editor.Text(), model);
  editor.SetText("abc");
  editor.Replace(1, 2, "XYZ");
  EXPECT_EQ(editor.Text(), "aXYZc");
}

}  // namespace
