// TOwnedCollection<T>: a list of sub-objects with published properties (status-bar panels,
// columns), owned by the collection and readable from layouts as `Name = < item ... end >`.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/exceptions.h"
#include "platform/gui/properties.h"

// The base of collection items: knows its collection's change notice.
class TCollectionItem : public TPersistent {
  QM_CLASS(TCollectionItem, TPersistent)
public:
  int Index() const { return index_; }

protected:
  // Tells the collection's owner that this item changed.
  void Changed() {
    if (changed_) changed_();
  }

private:
  template <class T>
  friend class TOwnedCollection;
  std::function<void()> changed_;
  int index_ = 0;
};

template <class T>
class TOwnedCollection : public TPersistent, public TCollectionBase {
public:
  explicit TOwnedCollection(std::function<void()> changed) : changed_(std::move(changed)) {}
  int Count() const override { return int(items_.size()); }
  T* Items(int index) const {
    if (index < 0 || index >= Count()) throw EInvalidOperation("List index out of bounds (" + std::to_string(index) + ")");
    return items_[size_t(index)].get();
  }
  T* operator[](int index) const { return Items(index); }
  T* Add() {
    items_.push_back(std::make_unique<T>());
    Renumber();
    return items_.back().get();
  }
  void Delete(int index) {
    Items(index);
    items_.erase(items_.begin() + index);
    Renumber();
  }
  void Clear() override {
    items_.clear();
    Changed();
  }
  TPersistent* Item(int index) const override { return Items(index); }
  TPersistent* AddItem() override { return Add(); }
  void BeginUpdate() { ++updating_; }
  void EndUpdate() {
    if (--updating_ == 0) Changed();
  }

private:
  void Renumber() {
    for (size_t i = 0; i < items_.size(); ++i) {
      items_[i]->index_ = int(i);
      items_[i]->changed_ = [this] { Changed(); };
    }
    Changed();
  }
  void Changed() {
    if (updating_ == 0 && changed_) changed_();
  }
  std::vector<std::unique_ptr<T>> items_;
  std::function<void()> changed_;
  int updating_ = 0;
};
