// Files dropped on a window reach its handler from any control inside it; other drags and
// other windows are left alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "platform/gui/application.h"
#include "platform/gui/drop_files.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"

namespace {

// Sends a drag entering `widget` and, when it is accepted, the drop; answers whether it was.
bool DropOn(QWidget* widget, QMimeData& data) {
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &drop);
  return drop.isAccepted();
}

TEST(DropFiles, WindowTakesLocalFilesDroppedOnItsControls) {
  EnsureGuiApplication();
  TForm form(nullptr), other(nullptr);
  auto* memo = new TMemo(&form);
  memo->SetParent(&form);
  std::vector<std::string> dropped;
  DragAcceptFiles(&form, [&](const std::vector<std::string>& files) { dropped = files; });

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/tmp/a b.txt"), QUrl("https://example.com/x"), QUrl::fromLocalFile("/tmp/c.rtf")});
  EXPECT_TRUE(DropOn(memo->Widget(), files));
  EXPECT_EQ(dropped, (std::vector<std::string>{"/tmp/a b.txt", "/tmp/c.rtf"}));

  // A text drag is the control's own business; another window is not the handler's.
  dropped.clear();
  QMimeData text;
  text.setText("words");
  DropOn(memo->Widget(), text);
  other.Widget()->setAcceptDrops(true);
  DropOn(other.Widget(), files);
  EXPECT_TRUE(dropped.empty());

  // Switched off, the window takes no files.
  DragAcceptFiles(&form, nullptr);
  DropOn(form.Widget(), files);
  EXPECT_TRUE(dropped.empty());
}

}  // namespace
