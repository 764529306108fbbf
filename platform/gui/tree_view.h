// TTreeView: a read-only tree of captioned nodes with pictures from an image list. Nodes are
// numbered in the order they were added; a click on a node selects it and fires OnClick.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/control.h"

class QTreeWidgetItem;
class TImageList;

class TTreeView : public TWinControl {
  QM_CLASS(TTreeView, TWinControl)
public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;

  // Adds a node under `parent` (-1: at the top); answers its number.
  int AddNode(int parent, const std::string& text, int imageIndex);
  void Clear();
  int Count() const { return int(nodes_.size()); }
  const std::string& NodeText(int node) const { return nodes_.at(size_t(node)).Text; }
  int NodeImage(int node) const { return nodes_.at(size_t(node)).ImageIndex; }
  int NodeParent(int node) const { return nodes_.at(size_t(node)).Parent; }
  bool Expanded(int node) const { return nodes_.at(size_t(node)).Expanded; }
  // Opens every node.
  void FullExpand();
  // The selected node, -1 for none.
  int Selected() const { return selected_; }
  void SetSelected(int node);

  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  // The node under the mouse is underlined.
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void Notification(TComponent* component, TOperation operation) override;
  bool ClickOnMouseUp() const override { return false; }

private:
  struct TNode {
    std::string Text;
    int ImageIndex, Parent;
    bool Expanded = false;
  };
  // Makes the widget's items anew / the item of node `index`.
  void Rebuild();
  void AddItem(size_t index);
  void SyncExpansionAndSelection();
  std::vector<TNode> nodes_;
  std::vector<QTreeWidgetItem*> items_;  // by node, while the widget exists
  int selected_ = -1;
  bool hotTrack_ = false, syncing_ = false;
  TImageList* images_ = nullptr;
};
