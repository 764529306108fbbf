// Data in clipboard formats dropped on a control registered as a drop target, and the hint
// and scroll-bar requests of the scrolling control.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>

#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/data_drag.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/scrolling_control.h"

namespace {

// A scrolling control that records what reaches it.
struct Recorder : TScrollingControl, TDataDropTarget {
  explicit Recorder(TComponent* owner) : TScrollingControl(owner) {}
  std::vector<std::pair<int, int>> requests;
  TDataDropInfo last;
  unsigned answer = DROPEFFECT_COPY;
  int drops = 0;
  unsigned DataDragOver(const TDataDropInfo& info, bool) override { last = info; return answer; }
  void DataDragLeave() override {}
  unsigned DataDrop(const TDataDropInfo& info) override {
    last = info;
    ++drops;
    return answer;
  }
  void ScrollRequest(bool, int code, int position) override { requests.push_back({code, position}); }
};

TEST(DataDrag, RegisteredControlTakesFormatsAndBytes) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* c = new Recorder(&form);
  c->SetParent(&form);
  c->SetBounds(0, 0, 100, 80);
  form.Show();
  RegisterDataDropTarget(*c, c);
  unsigned format = RegisterClipboardFormat("Data Drag Test");
  QMimeData data;
  data.setData(ClipboardMimeOf(format), QByteArray("\x01\x02\x03", 3));
  data.setText("plain");
  QWidget* viewport = static_cast<QAbstractScrollArea*>(c->Widget())->viewport();
  QDragEnterEvent enter(QPoint(5, 6), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(viewport, &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(c->last.Shift, ssShift);
  EXPECT_EQ(c->last.Allowed, DROPEFFECT_COPY | DROPEFFECT_MOVE);
  TPoint origin = c->ClientOrigin();
  EXPECT_EQ(c->last.Point, (TPoint{5 + origin.X, 6 + origin.Y}));
  QDropEvent drop(QPointF(5, 6), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  EXPECT_EQ(c->drops, 1);
  EXPECT_EQ(c->last.Data(format), std::string("\x01\x02\x03", 3));
  EXPECT_NE(std::find(c->last.Formats.begin(), c->last.Formats.end(), format), c->last.Formats.end());

  c->answer = DROPEFFECT_NONE;  // a refusal leaves the drag unaccepted
  QDragEnterEvent refused(QPoint(5, 6), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &refused);
  EXPECT_FALSE(refused.isAccepted());
}

TEST(DataDrag, ScrollBarActionsArriveAsRequests) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* c = new Recorder(&form);
  c->SetParent(&form);
  c->SetBounds(0, 0, 100, 80);
  form.Show();
  c->SetScrollInfo(true, 1000, 80, 0);
  QScrollBar* bar = static_cast<QAbstractScrollArea*>(c->Widget())->verticalScrollBar();
  EXPECT_EQ(bar->maximum(), 1000 - 80 + 1);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  ASSERT_EQ(c->requests.size(), 2u);
  EXPECT_EQ(c->requests[0].first, SB_PAGEDOWN);
  EXPECT_EQ(c->requests[1].first, SB_TOP);
  c->SetStripHeight(14);
  EXPECT_EQ(c->ClientOrigin().Y - 14, static_cast<QAbstractScrollArea*>(c->Widget())->frameWidth());
}

}  // namespace
