// The clipboard: text in the system code page, Unicode text, registered formats as bytes.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/clipboard_image.h"
#include "platform/gui/graphics.h"

namespace {

TEST(ClipboardTest, TextRoundTripsInBothForms) {
  std::string russian = Utf8ToAnsi("Привет, мир");
  Clipboard()->SetAsText(russian);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(Clipboard()->AsText(), russian);
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"Привет, мир");

  std::u16string wide = u"Ελληνικά и русский";  // Greek has no place in code page 1251
  Clipboard()->SetAsUnicodeText(wide);
  EXPECT_EQ(Clipboard()->AsUnicodeText(), wide);
  EXPECT_EQ(Clipboard()->AsText(), "????????" + Utf8ToAnsi(" и русский"));
  std::string bytes = Clipboard()->GetAsBytes(CF_UNICODETEXT);
  EXPECT_EQ(bytes.size(), wide.size() * 2);
}

TEST(ClipboardTest, RegisteredFormatsCarryBytesAndGroupUnderOpen) {
  unsigned rtf = RegisterClipboardFormat("Rich Text Format");
  unsigned plainRtf = RegisterClipboardFormat("Rich Text Format Without Objects");
  unsigned objects = RegisterClipboardFormat("RichEdit Text and Objects");
  EXPECT_GE(rtf, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("Rich Text Format"), rtf);
  EXPECT_NE(rtf, plainRtf);
  EXPECT_EQ(GetClipboardFormatName(objects), "RichEdit Text and Objects");

  std::string doc = std::string("{\\rtf1\\ansi ") + Utf8ToAnsi("Текст") + std::string("\0}", 2);
  Clipboard()->Open();
  Clipboard()->SetAsText("Text");
  Clipboard()->SetAsBytes(rtf, doc);
  Clipboard()->SetAsBytes(plainRtf, doc);
  Clipboard()->Close();
  EXPECT_TRUE(Clipboard()->HasFormat(rtf));
  EXPECT_TRUE(Clipboard()->HasFormat(plainRtf));
  EXPECT_FALSE(Clipboard()->HasFormat(objects));
  EXPECT_EQ(Clipboard()->GetAsBytes(rtf), doc);  // bytes exactly, a zero byte included
  EXPECT_EQ(Clipboard()->AsText(), "Text");
  auto formats = Clipboard()->Formats();
  EXPECT_NE(std::find(formats.begin(), formats.end(), rtf), formats.end());

  // Outside Open, one Set replaces the whole content.
  Clipboard()->SetAsText("only text");
  EXPECT_FALSE(Clipboard()->HasFormat(rtf));
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->GetAsBytes(rtf), "");
}

// What a program saves of the clipboard it puts back whole: text with its other formats, a
// picture alone, and an empty clipboard stays empty.
TEST(ClipboardTest, SavedContentsComeBackInEveryFormat) {
  const unsigned rtf = RegisterClipboardFormat("Rich Text Format");
  const std::string doc = "{\\rtf1 x}";
  Clipboard()->Open();
  Clipboard()->SetAsUnicodeText(u"Ελληνικά и русский");
  Clipboard()->SetAsBytes(rtf, doc);
  Clipboard()->Close();
  const TClipboardContents withText = Clipboard()->SaveContents();
  Clipboard()->SetAsText("something else");
  Clipboard()->RestoreContents(withText);
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"Ελληνικά и русский");
  EXPECT_EQ(Clipboard()->GetAsBytes(rtf), doc);

  TBitmap picture;
  picture.SetSize(3, 2);
  SetClipboardImage(picture);
  const TClipboardContents withPicture = Clipboard()->SaveContents();
  ASSERT_FALSE(withPicture.Empty());
  Clipboard()->SetAsText("text over the picture");
  Clipboard()->RestoreContents(withPicture);
  EXPECT_TRUE(ClipboardHasImage());
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  TBitmap back;
  ASSERT_TRUE(ClipboardImage(back));
  EXPECT_EQ(back.Width(), 3);

  Clipboard()->Clear();
  const TClipboardContents nothing = Clipboard()->SaveContents();
  EXPECT_TRUE(nothing.Empty());
  Clipboard()->SetAsText("x");
  Clipboard()->RestoreContents(nothing);
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

}  // namespace
