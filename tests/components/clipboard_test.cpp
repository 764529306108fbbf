// Icons on the clipboard (a checked reader of icon-file data) and the clipboard viewer that
// follows the clipboard: empty, text, private data, icons.
#include <gtest/gtest.h>

#include "components/clipboard_icon.h"
#include "components/clipboard_viewer.h"
#include "textcore/rich_edit.h"
#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"

namespace {

void Put16(std::string& s, uint32_t v) { s += char(v & 0xFF); s += char((v >> 8) & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF); Put16(s, v >> 16); }

// An icon file of one 24-bit image: red, with the left column masked out.
std::string IconFile(int width, int height) {
  std::string dib;
  Put32(dib, 40); Put32(dib, uint32_t(width)); Put32(dib, uint32_t(height * 2)); Put16(dib, 1); Put16(dib, 24);
  Put32(dib, 0); Put32(dib, 0); Put32(dib, 0); Put32(dib, 0); Put32(dib, 0); Put32(dib, 0);
  const int row = (width * 24 + 31) / 32 * 4;
  for (int y = 0; y < height; ++y) {
    std::string line;
    for (int x = 0; x < width; ++x) line += std::string("\x00\x00\xFF", 3);
    line.resize(size_t(row), '\0');
    dib += line;
  }
  for (int y = 0; y < height; ++y) {
    std::string mask(size_t(MaskRowBytes(width)), '\0');
    mask[0] = char(0x80);
    dib += mask;
  }
  std::string file;
  Put16(file, 0); Put16(file, 1); Put16(file, 1);
  file += char(width); file += char(height); file += '\0'; file += '\0';
  Put16(file, 1); Put16(file, 24); Put32(file, uint32_t(dib.size())); Put32(file, 22);
  return file + dib;
}

TEST(ClipboardIcon, ReadsIconDataAndRefusesDamagedData) {
  EXPECT_EQ(MaskRowBytes(20), 4);
  EXPECT_EQ(MaskRowBytes(33), 8);
  TIconImage icon;
  ASSERT_TRUE(ReadIconData(IconFile(32, 32), icon));
  EXPECT_EQ(icon.Width, 32);
  EXPECT_EQ(icon.Height, 32);  // the stored 64 covers image and mask
  EXPECT_EQ(icon.Pixels[0], 0u);                // masked
  EXPECT_EQ(icon.Pixels[1], 0xFFFF0000u);       // red
  ASSERT_TRUE(ReadIconData(IconFile(20, 20), icon));
  // Truncated anywhere, or with offsets and sizes pointing outside: refused, never read past.
  const std::string good = IconFile(16, 16);
  for (size_t cut = 0; cut < good.size(); cut += 7)
    EXPECT_FALSE(ReadIconData(good.substr(0, cut), icon)) << cut;
  std::string bad = good;
  bad[18] = char(0xF0);  // offset far beyond the block
  EXPECT_FALSE(ReadIconData(bad, icon));
  bad = good;
  bad[22 + 14] = 7;  // 7 bits per pixel
  EXPECT_FALSE(ReadIconData(bad, icon));
  bad = good;
  bad[22 + 4] = char(0xFF); bad[22 + 5] = char(0xFF);  // absurd width
  EXPECT_FALSE(ReadIconData(bad, icon));
  EXPECT_FALSE(ReadIconData(std::string(200, '\xFF'), icon));
}

TEST(ClipboardViewer, FollowsTheClipboard) {
  EnsureGuiApplication();
  EXPECT_EQ(DetectViewFormat({true, true, false, true}), cvText);
  EXPECT_EQ(DetectViewFormat({true, false, false, true}), cvBitmap);
  EXPECT_EQ(DetectViewFormat({true, false, false, false, false, true}), cvIcon);
  EXPECT_EQ(DetectViewFormat({true}), cvUnknown);

  TForm form(nullptr);
  Clipboard()->Clear();
  auto* viewer = new TClipboardViewer(&form);
  viewer->SetParent(&form);
  viewer->SetBounds(0, 0, 200, 150);
  int changes = 0;
  viewer->OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(viewer->View(), nullptr);
  // Text: a read-only view with the text, in every script.
  Clipboard()->SetAsUnicodeText(u"hello Ω ж");
  viewer->ClipboardChanged();
  auto* memo = dynamic_cast<TRichEditW*>(viewer->View());
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->GetTextW(), u"hello Ω ж");
  EXPECT_TRUE(memo->ReadOnly());
  EXPECT_GE(changes, 1);
  // Asking for a format the clipboard lacks falls back to detection.
  viewer->SetViewFormat(cvBitmap);
  EXPECT_EQ(viewer->ViewFormat(), cvDefault);
  viewer->SetViewFormat(cvText);
  EXPECT_EQ(viewer->ViewFormat(), cvText);
  // Private data only: the note.
  Clipboard()->SetAsBytes(RegisterClipboardFormat("Some Private Format"), "xyz");
  viewer->ClipboardChanged();
  EXPECT_EQ(viewer->ViewFormat(), cvDefault);
  memo = dynamic_cast<TRichEditW*>(viewer->View());
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->GetTextW(), Utf8ToWide(kUnknownClipboardFormat));
  // An icon: an image of the system icon size.
  Clipboard()->SetAsBytes(IconClipboardFormat(), IconFile(16, 16));
  viewer->ClipboardChanged();
  EXPECT_TRUE(ClipboardHasIcon());
  auto* image = dynamic_cast<TImage*>(viewer->View());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Picture()->Width(), kSystemIconSize);
  // Damaged icon data is no icon.
  Clipboard()->SetAsBytes(IconClipboardFormat(), "garbage");
  EXPECT_FALSE(ClipboardHasIcon());
  TBitmap kept(5, 5);
  EXPECT_FALSE(IconFromClipboard(kept));
  EXPECT_EQ(kept.Width(), 5);
  // Emptied: blank, cvEmpty.
  Clipboard()->Clear();
  viewer->ClipboardChanged();
  EXPECT_EQ(viewer->ViewFormat(), cvEmpty);
  EXPECT_EQ(viewer->View(), nullptr);
}

}  // namespace
