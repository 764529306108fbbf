#include "platform/gui/tree_view.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "platform/gui/image_list.h"
#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TTreeView, TWinControl, [](TClassBuilder<TTreeView>& b) {
  b.Boolean("HotTrack", &TTreeView::HotTrack, &TTreeView::SetHotTrack)
      .Component<TImageList>("Images", &TTreeView::Images, &TTreeView::SetImages);
})

namespace {
constexpr int kNodeRole = Qt::UserRole + 1;
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TTreeView::~TTreeView() {
  if (images_) images_->RemoveFreeNotification(this);
  DestroyWidget();
}

QWidget* TTreeView::CreateWidget(QWidget* parent) {
  auto* t = new QTreeWidget(parent);
  t->setHeaderHidden(true);
  t->setColumnCount(1);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QObject::connect(t, &QTreeWidget::itemClicked, [this](QTreeWidgetItem* item, int) {
    if (syncing_ || !item) return;
    selected_ = item->data(0, kNodeRole).toInt();
    GuardedCall([this] { Click(); });
  });
  QObject::connect(t, &QTreeWidget::currentItemChanged, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
    if (!syncing_) selected_ = item ? item->data(0, kNodeRole).toInt() : -1;
  });
  QObject::connect(t, &QTreeWidget::itemExpanded, [this](QTreeWidgetItem* item) {
    nodes_[size_t(item->data(0, kNodeRole).toInt())].Expanded = true;
  });
  QObject::connect(t, &QTreeWidget::itemCollapsed, [this](QTreeWidgetItem* item) {
    nodes_[size_t(item->data(0, kNodeRole).toInt())].Expanded = false;
  });
  return t;
}

void TTreeView::InitWidget() {
  TWinControl::InitWidget();
  SetHotTrack(hotTrack_);
  Rebuild();
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TTreeView::AddItem(size_t index) {
  auto* t = static_cast<QTreeWidget*>(ExistingWidget());
  const TNode& n = nodes_[index];
  auto* item = n.Parent < 0 ? new QTreeWidgetItem(t) : new QTreeWidgetItem(items_[size_t(n.Parent)]);
  item->setText(0, ToQ(n.Text));
  item->setData(0, kNodeRole, int(index));
  if (images_ && n.ImageIndex >= 0 && n.ImageIndex < images_->Count()) item->setIcon(0, images_->QtIcon(n.ImageIndex));
  items_.push_back(item);
}

void TTreeView::SyncExpansionAndSelection() {
  auto* t = static_cast<QTreeWidget*>(ExistingWidget());
  if (!t) return;
  syncing_ = true;
  for (size_t i = 0; i < nodes_.size(); ++i) items_[i]->setExpanded(nodes_[i].Expanded);
  t->setCurrentItem(selected_ >= 0 ? items_[size_t(selected_)] : nullptr);
  if (selected_ < 0) t->clearSelection();
  syncing_ = false;
}

void TTreeView::Rebuild() {
  items_.clear();
  auto* t = static_cast<QTreeWidget*>(ExistingWidget());
  if (!t) return;
  syncing_ = true;
  t->clear();
  for (size_t i = 0; i < nodes_.size(); ++i) AddItem(i);
  syncing_ = false;
  SyncExpansionAndSelection();
}

int TTreeView::AddNode(int parent, const std::string& text, int imageIndex) {
  if (parent >= Count()) parent = -1;
  nodes_.push_back({text, imageIndex, parent});
  if (ExistingWidget()) {
    syncing_ = true;
    AddItem(nodes_.size() - 1);
    syncing_ = false;
  }
  return Count() - 1;
}

void TTreeView::Clear() {
  nodes_.clear();
  selected_ = -1;
  Rebuild();
}

void TTreeView::FullExpand() {
  for (TNode& n : nodes_) n.Expanded = true;
  SyncExpansionAndSelection();
}

void TTreeView::SetSelected(int node) {
  selected_ = node >= 0 && node < Count() ? node : -1;
  SyncExpansionAndSelection();
}

void TTreeView::SetImages(TImageList* images) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  Rebuild();
}

void TTreeView::SetHotTrack(bool v) {
  hotTrack_ = v;
  if (auto* t = static_cast<QTreeWidget*>(ExistingWidget())) {
    t->setMouseTracking(v);
    t->setStyleSheet(v ? "QTreeView::item:hover { text-decoration: underline; }" : "");
  }
}
