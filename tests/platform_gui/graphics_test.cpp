// Drawing into bitmaps, picture files, and a form with Russian text painted to a PNG.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <filesystem>
#include <set>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/font_families.h"
#include "platform/gui/form.h"
#include "platform/gui/graphics.h"
#include "platform/gui/image_list.h"
#include "platform/gui/std_controls.h"

namespace {

std::filesystem::path OutDir() {
  std::filesystem::path dir = std::filesystem::path(QM_BUILD_DIR) / "test-output" / "platform_gui";
  std::filesystem::create_directories(dir);
  return dir;
}

TEST(GraphicsTest, CanvasShapesLandOnTheRightPixels) {
  TBitmap bmp(40, 30);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 40, 30));
  c->Brush()->SetColor(clRed);
  c->Pen()->SetColor(clBlue);
  c->Rectangle(5, 5, 15, 12);  // blue outline, red inside, right and bottom edges excluded
  EXPECT_EQ(c->Pixel(5, 5), clBlue);
  EXPECT_EQ(c->Pixel(14, 11), clBlue);
  EXPECT_EQ(c->Pixel(10, 8), clRed);
  EXPECT_EQ(c->Pixel(15, 8), clWhite);
  EXPECT_EQ(c->Pixel(10, 12), clWhite);
  c->Pen()->SetColor(clGreen);
  c->MoveTo(20, 2);
  c->LineTo(30, 2);  // the end point stays undrawn
  EXPECT_EQ(c->Pixel(20, 2), clGreen);
  EXPECT_EQ(c->Pixel(29, 2), clGreen);
  EXPECT_EQ(c->Pixel(30, 2), clWhite);
  EXPECT_EQ(c->PenPos(), Point(30, 2));
  c->Brush()->SetColor(clYellow);
  c->Pen()->SetColor(clYellow);
  c->Ellipse(20, 10, 36, 26);
  EXPECT_EQ(c->Pixel(28, 18), clYellow);
  EXPECT_EQ(c->Pixel(20, 10), clWhite);  // the corner lies outside the ellipse
  c->Brush()->SetColor(clBlack);
  c->FrameRect(Rect(0, 20, 10, 30));
  EXPECT_EQ(c->Pixel(0, 20), clBlack);
  EXPECT_EQ(c->Pixel(5, 25), clWhite);
  c->SetPixel(39, 29, clFuchsia);
  EXPECT_EQ(c->Pixel(39, 29), clFuchsia);
  EXPECT_EQ(c->Pixel(100, 100), clNone);
  // System colours resolve through the palette to plain RGB.
  EXPECT_GE(ColorToRGB(clBtnFace), 0);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
}

TEST(GraphicsTest, TextDrawsAndBitmapsCopy) {
  TBitmap bmp(120, 30);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 120, 30));
  std::string text = Utf8ToAnsi("Привет");
  EXPECT_GT(c->TextWidth(text), 20);
  EXPECT_GT(c->TextHeight(text), 5);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(2, 2, text);
  int dark = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) dark += GetRValue(c->Pixel(x, y)) < 128;
  EXPECT_GT(dark, 20);

  TBitmap small(4, 4);
  small.Canvas()->Brush()->SetColor(clLime);
  small.Canvas()->FillRect(Rect(0, 0, 4, 4));
  c->Draw(100, 20, small);
  EXPECT_EQ(c->Pixel(101, 21), clLime);
  c->StretchDraw(Rect(0, 0, 8, 8), small);
  EXPECT_EQ(c->Pixel(7, 7), clLime);
  // Transparent drawing leaves the transparent colour's pixels alone.
  small.Canvas()->SetPixel(0, 0, clRed);
  small.SetTransparent(true);
  small.SetTransparentColor(clRed);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(50, 0, 60, 10));
  c->Draw(50, 0, small);
  EXPECT_EQ(c->Pixel(50, 0), clWhite);
  EXPECT_EQ(c->Pixel(51, 1), clLime);
}

TEST(GraphicsTest, BitmapFilesRoundTripAndMissingFilesFail) {
  TBitmap bmp(8, 6);
  bmp.Canvas()->SetPixel(3, 2, clNavy);
  for (const char* name : {"round.png", "round.bmp"}) {
    std::string path = (OutDir() / name).string();
    bmp.SaveToFile(path);
    TBitmap loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Width(), 8);
    EXPECT_EQ(loaded.Canvas()->Pixel(3, 2), clNavy) << name;
  }
  TBitmap none;
  EXPECT_THROW(none.LoadFromFile((OutDir() / "missing.png").string()), EFOpenError);
  EXPECT_THROW(bmp.SaveToFile("/nonexistent-folder/x.png"), EFCreateError);

  TImageList images(nullptr);
  images.SetWidth(4);
  images.SetHeight(6);
  TBitmap strip(8, 6);
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(Rect(4, 0, 8, 6));
  EXPECT_EQ(images.Add(strip), 0);
  EXPECT_EQ(images.Count(), 2);  // cut into pictures of the list's width
  TBitmap target(10, 10);
  images.Draw(target.Canvas(), 2, 2, 1);
  EXPECT_EQ(target.Canvas()->Pixel(3, 3), clRed);
}

TEST(GraphicsTest, FormWithRussianTextPaintsToAPng) {
  TForm form(nullptr);
  form.SetCaption(Utf8ToAnsi("Быстрая конвертация"));
  form.SetBounds(0, 0, 320, 160);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetBounds(10, 10, 200, 20);
  label->SetCaption(Utf8ToAnsi("&Кодировка текста:"));
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 40, 200, 24);
  edit->SetText(Utf8ToAnsi("Съешь же ещё этих мягких французских булок"));
  auto* bar = new TStatusBar(&form);
  bar->SetParent(&form);
  bar->Panels()->Add()->SetText(Utf8ToAnsi("Строка 1"));
  bar->Panels()->Items(0)->SetWidth(100);
  bar->Panels()->Add()->SetText("INS");
  form.Show();
  Application->ProcessMessages();
  EXPECT_EQ(bar->Top(), form.ClientHeight() - bar->Height());
  EXPECT_EQ(label->Caption(), Utf8ToAnsi("&Кодировка текста:"));

  QImage image = form.Widget()->grab().toImage();
  std::string path = (OutDir() / "russian_form.png").string();
  ASSERT_TRUE(image.save(QString::fromStdString(path)));
  ASSERT_FALSE(image.isNull());
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  EXPECT_GT(colours.size(), 4u);  // text, edit, frame and background: not blank
  // The label's strip has dark text pixels.
  int dark = 0;
  for (int y = 10; y < 30; ++y)
    for (int x = 10; x < 210; ++x) dark += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(dark, 20);
}

}  // namespace

TEST(GraphicsTest, FontFamiliesAreListedOnceWithoutFoundries) {
  const std::pair<const char*, const char*> names[] = {
      {"C059 [urw]", "C059"}, {"Nimbus Sans [UKWN]", "Nimbus Sans"}, {"DejaVu Sans", "DejaVu Sans"}, {"[x]", "[x]"}};
  for (const auto& [qt, plain] : names) EXPECT_EQ(PlainFamilyName(qt), plain);
  std::set<std::string> seen;
  for (const TFontFamily& family : InstalledFontFamilies()) {
    EXPECT_TRUE(seen.insert(family.Name).second) << family.Name;
    EXPECT_EQ(family.Name.find(" ["), std::string::npos) << family.Name;
  }
  EXPECT_FALSE(seen.empty());
}
