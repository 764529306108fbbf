#include "platform/gui/scroll_box.h"

#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TScrollBox, TWinControl, [](TClassBuilder<TScrollBox>&) {})

namespace {

QScrollArea* Area(const TScrollBox* box) { return static_cast<QScrollArea*>(box->ExistingWidget()); }

}  // namespace

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

QWidget* TScrollBox::CreateWidget(QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setWidgetResizable(false);
  area->setWidget(new QWidget);
  return area;
}

QWidget* TScrollBox::ClientWidget() { return static_cast<QScrollArea*>(Widget())->widget(); }

int TScrollBox::ClientWidth() const {
  QScrollArea* a = Area(this);
  return a ? a->viewport()->width() : Width();
}

int TScrollBox::ClientHeight() const {
  QScrollArea* a = Area(this);
  return a ? a->viewport()->height() : Height();
}

void TScrollBox::AlignControls(TRect rect) {
  TWinControl::AlignControls(rect);
  UpdateRange();
}

// The content is as large as the children reach, and never smaller than the view.
void TScrollBox::UpdateRange() {
  QScrollArea* a = Area(this);
  if (!a) return;
  QSize size(horz_.Range(), vert_.Range());
  a->widget()->resize(std::max(size.width(), ClientWidth()), std::max(size.height(), ClientHeight()));
}

void TScrollBox::ScrollInView(TControl* control) {
  if (!control || control->Parent() != this) return;
  if (QScrollArea* a = Area(this)) a->ensureVisible(control->Left() + control->Width() / 2, control->Top() + control->Height() / 2,
                                                    control->Width() / 2, control->Height() / 2);
}

int TControlScrollBar::Position() const {
  QScrollArea* a = Area(box_);
  if (!a) return 0;
  return (vertical_ ? a->verticalScrollBar() : a->horizontalScrollBar())->value();
}

void TControlScrollBar::SetPosition(int v) {
  if (QScrollArea* a = static_cast<QScrollArea*>(box_->Widget()))
    (vertical_ ? a->verticalScrollBar() : a->horizontalScrollBar())->setValue(v);
}

int TControlScrollBar::Range() const {
  int extent = 0;
  for (int i = 0; i < box_->ControlCount(); ++i) {
    TControl* c = box_->Controls(i);
    if (!c->Visible() || (vertical_ ? c->Align() == alClient || c->Align() == alLeft || c->Align() == alRight
                                    : c->Align() == alClient || c->Align() == alTop || c->Align() == alBottom))
      continue;
    extent = std::max(extent, vertical_ ? c->Top() + c->Height() : c->Left() + c->Width());
  }
  return extent;
}

bool TControlScrollBar::IsScrollBarVisible() const {
  QScrollArea* a = Area(box_);
  return a && (vertical_ ? a->verticalScrollBar() : a->horizontalScrollBar())->isVisible();
}
