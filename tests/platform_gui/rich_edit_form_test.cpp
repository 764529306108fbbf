#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <filesystem>

#include "platform/gui/form.h"
#include "platform/gui/rich_edit_control.h"

namespace {

// The control with Russian text on a shown form, grabbed to a PNG file: the picture holds
// the text's dark pixels on the light background.
TEST(RichEditFormTest, RussianTextOnAFormIsDrawn) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 200);
  RichEditControl control;
  control.SetText(u"Съешь же ещё этих мягких французских булок\rда выпей чаю.");
  QWidget* window = control.Widget();
  window->setParent(form.Widget());
  window->setGeometry(0, 0, 400, 200);
  form.Show();
  window->show();
  QApplication::processEvents();

  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("rich_edit_form_" + std::to_string(QCoreApplication::applicationPid()) + ".png");
  ASSERT_TRUE(form.Widget()->grab().save(QString::fromStdString(file.string()), "PNG"));
  QImage image(QString::fromStdString(file.string()));
  std::filesystem::remove(file);
  ASSERT_FALSE(image.isNull());
  int dark = 0, light = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int gray = qGray(image.pixel(x, y));
      if (gray < 100) ++dark;
      else if (gray > 200) ++light;
    }
  EXPECT_GT(dark, 200);               // the letters
  EXPECT_GT(light, image.width() * image.height() / 2);  // the background
  EXPECT_EQ(control.Text(), u"Съешь же ещё этих мягких французских булок\rда выпей чаю.");
}

}  // namespace
