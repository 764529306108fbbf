#include "platform/gui/scrolling_control.h"

#include <QAbstractScrollArea>
#include <QPaintEvent>
#include <QPainter>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

#include "platform/gui/graphics.h"
#include "platform/gui/qt_bridge.h"

// The control's widget: the viewport is the client area, the strip a child above it.
class TScrollArea : public QAbstractScrollArea {
public:
  TScrollArea(TScrollingControl* control, QWidget* parent) : QAbstractScrollArea(parent), control_(control) {
    strip_ = new TStrip(this);
    strip_->hide();
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    for (bool vertical : {true, false}) {
      QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
      connect(bar, &QScrollBar::actionTriggered, this, [this, vertical, bar](int action) {
        int code = -1;
        switch (action) {
          case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
          case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
          case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
          case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
          case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
          case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
          case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
          default: return;
        }
        int pos = bar->sliderPosition();
        Request(vertical, code, pos);
      });
      connect(bar, &QScrollBar::sliderReleased, this, [this, vertical] { Request(vertical, SB_ENDSCROLL, 0); });
    }
  }
  QWidget* Strip() const { return strip_; }
  void SetTopMargin(int height) { setViewportMargins(0, height, 0, 0); }

protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(viewport());
    QRect r = event->rect();
    TCanvas* canvas = control_->Canvas();
    canvas->Attach(&painter, Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
    canvas->Font()->Assign(*control_->Font());
    canvas->Brush()->SetColor(control_->Color());
    GuardedCall([&] { control_->Paint(); });
    canvas->Detach();
  }
  void scrollContentsBy(int, int) override {}
  bool viewportEvent(QEvent* event) override {
    if (event->type() == QEvent::ToolTip && ShowHint(static_cast<QHelpEvent*>(event), viewport(), 0)) return true;
    return QAbstractScrollArea::viewportEvent(event);
  }
  bool event(QEvent* event) override {
    // The strip's hints (the strip lies above the client area: negative y).
    if (event->type() == QEvent::ToolTip) {
      auto* help = static_cast<QHelpEvent*>(event);
      if (strip_->isVisible() && strip_->geometry().contains(help->pos()) &&
          ShowHint(help, this, viewport()->geometry().top()))
        return true;
    }
    return QAbstractScrollArea::event(event);
  }
  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    control_->PlaceStrip();
  }

private:
  // Shows the control's hint for the event's point; `from` is the viewport or the area itself
  // (whose points are made client points: the strip comes out at negative y).
  bool ShowHint(QHelpEvent* help, QWidget* from, int clientTop) {
    QPoint p = help->pos();
    if (from == this) p = QPoint(p.x() - viewport()->geometry().left(), p.y() - clientTop);
    std::u16string text;
    TRect r;
    bool shown = false;
    GuardedCall([&] { shown = control_->HintRequest(Point(p.x(), p.y()), text, r); });
    if (!shown || text.empty()) {
      QToolTip::hideText();
      return shown;
    }
    QString q = QString::fromUtf16(text.data(), qsizetype(text.size()));
    QRect area(r.Left, r.Top, r.Width(), r.Height());
    QPoint at = viewport()->mapToGlobal(QPoint(r.Left, r.Top));
    QToolTip::showText(at, q, viewport(), area.isEmpty() ? QRect() : area);
    return true;
  }

  void Request(bool vertical, int code, int pos) {
    if (control_->settingBars_) return;
    GuardedCall([&] { control_->ScrollRequest(vertical, code, pos); });
  }

  class TStrip : public QWidget {
  public:
    explicit TStrip(TScrollArea* area) : QWidget(area), area_(area) {}
  protected:
    void paintEvent(QPaintEvent* event) override {
      QPainter painter(this);
      QRect r = event->rect();
      TScrollingControl* c = area_->control_;
      TCanvas* canvas = c->stripCanvas_.get();
      canvas->Attach(&painter, Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
      canvas->Font()->Assign(*c->Font());
      GuardedCall([&] { c->PaintStrip(*canvas, Rect(0, 0, width(), height())); });
      canvas->Detach();
    }
  private:
    TScrollArea* area_;
  };

  TScrollingControl* control_;
  TStrip* strip_;
};

TScrollingControl::TScrollingControl(TComponent* owner)
    : TCustomControl(owner), stripCanvas_(std::make_unique<TCanvas>()) {}

TScrollingControl::~TScrollingControl() { DestroyWidget(); }

TScrollArea* TScrollingControl::Area() const { return static_cast<TScrollArea*>(ExistingWidget()); }

QWidget* TScrollingControl::CreateWidget(QWidget* parent) {
  auto* area = new TScrollArea(this, parent);
  area->setFrameStyle(border_ ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
  area->SetTopMargin(stripHeight_);
  AdoptInnerWidget(area->viewport());
  AdoptInnerWidget(area->Strip());
  area->viewport()->setMouseTracking(true);
  area->Strip()->setMouseTracking(true);
  return area;
}

int TScrollingControl::ClientWidth() const {
  if (TScrollArea* a = Area()) return a->viewport()->width();
  return std::max(0, Width() - (border_ ? 4 : 0));
}

int TScrollingControl::ClientHeight() const {
  if (TScrollArea* a = Area()) return a->viewport()->height();
  return std::max(0, Height() - stripHeight_ - (border_ ? 4 : 0));
}

void TScrollingControl::SetScrollInfo(bool Vertical, int Max, int Page, int Position, bool AlwaysVisible) {
  TScrollArea* a = Area();
  if (!a) return;
  QScrollBar* bar = Vertical ? a->verticalScrollBar() : a->horizontalScrollBar();
  int top = std::max(0, Max - std::max(Page, 1) + 1);
  settingBars_ = true;
  bar->setRange(0, top);
  bar->setPageStep(std::max(Page, 1));
  bar->setSingleStep(16);
  bar->setValue(std::clamp(Position, 0, top));
  settingBars_ = false;
  Qt::ScrollBarPolicy policy = AlwaysVisible ? Qt::ScrollBarAlwaysOn : top > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (Vertical) a->setVerticalScrollBarPolicy(policy);
  else a->setHorizontalScrollBarPolicy(policy);
}

int TScrollingControl::ScrollPosition(bool Vertical) const {
  TScrollArea* a = Area();
  if (!a) return 0;
  return (Vertical ? a->verticalScrollBar() : a->horizontalScrollBar())->value();
}

int TScrollingControl::HorizontalBarHeight() const {
  TScrollArea* a = Area();
  return a ? a->horizontalScrollBar()->sizeHint().height() : 16;
}

void TScrollingControl::SetStripHeight(int Height) {
  Height = std::max(0, Height);
  if (Height == stripHeight_) return;
  stripHeight_ = Height;
  if (TScrollArea* a = Area()) {
    a->SetTopMargin(stripHeight_);
    PlaceStrip();
  }
}

void TScrollingControl::SetBorder(bool Single) {
  border_ = Single;
  if (TScrollArea* a = Area()) a->setFrameStyle(Single ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

void TScrollingControl::PlaceStrip() {
  TScrollArea* a = Area();
  if (!a) return;
  QRect v = a->viewport()->geometry();
  a->Strip()->setGeometry(v.left(), v.top() - stripHeight_, v.width(), stripHeight_);
  a->Strip()->setVisible(stripHeight_ > 0);
}

void TScrollingControl::InvalidateClient() {
  if (TScrollArea* a = Area()) a->viewport()->update();
}

void TScrollingControl::InvalidateClientRect(const TRect& R) {
  if (TScrollArea* a = Area()) a->viewport()->update(QRect(R.Left, R.Top, R.Width(), R.Height()));
}

void TScrollingControl::InvalidateStrip() {
  if (TScrollArea* a = Area()) a->Strip()->update();
}

TPoint TScrollingControl::ClientOrigin() const {
  TScrollArea* a = Area();
  if (!a) return {0, stripHeight_};
  QPoint origin = a->viewport()->geometry().topLeft();
  return {origin.x(), origin.y()};
}

void TScrollingControl::WndProc(TMessage& Message) {
  // Mouse positions come relative to the whole widget: make them client positions.
  if (Message.Msg >= WM_MOUSEMOVE && Message.Msg <= WM_MBUTTONDBLCLK) {
    if (TScrollArea* a = Area()) {
      QPoint origin = a->viewport()->geometry().topLeft();
      Message.LParam = MakeLParam(LParamX(Message.LParam) - origin.x(), LParamY(Message.LParam) - origin.y());
    }
  }
  TCustomControl::WndProc(Message);
}

QM_CLASS_INFO(TScrollingControl, TCustomControl, [](TClassBuilder<TScrollingControl>&) {})
