// THotKeyList: the key list of the preferences window. One row per global action with a check
// box (the hot key is enabled), the key text and the action's name, under two column headers
// ("Key", "Action") that the interface language translates through its "Columns" section.
// The Association page lists its file types the same way (type, checked, description).
// A click selects a row; a click on its check box switches it; Up and Down move the selection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/collection.h"
#include "platform/gui/control.h"
#include "shell/preferences_hotkeys.h"

// A column header of the list.
class THotKeyColumn : public TCollectionItem {
  QM_CLASS(THotKeyColumn, TCollectionItem)
public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Width() const { return width_; }
  void SetWidth(int width);

private:
  std::string caption_;
  int width_ = 120;
};

class THotKeyList : public TCustomControl {
  QM_CLASS(THotKeyList, TCustomControl)
public:
  explicit THotKeyList(TComponent* owner);
  ~THotKeyList() override;

  TOwnedCollection<THotKeyColumn>* Columns() const { return columns_.get(); }

  // The rows: key text and enabled state, and the action name shown beside them.
  int RowCount() const { return int(rows_.size()); }
  const THotKeyRow& Row(int index) const { return rows_.at(size_t(index)).Key; }
  void SetRow(int index, const THotKeyRow& row);
  const std::string& ActionName(int index) const { return rows_.at(size_t(index)).Action; }
  void SetActionName(int index, const std::string& name);
  // Replaces every row; the selection is kept when the row still exists.
  void SetRows(const std::vector<THotKeyRow>& rows, const std::vector<std::string>& actions);
  std::vector<THotKeyRow> Rows() const;

  // The selected row, -1 for none.
  int Selected() const { return selected_; }
  void SetSelected(int index);

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;

private:
  struct TListRow {
    THotKeyRow Key;
    std::string Action;
  };
  int RowHeight();
  int HeaderHeight() { return RowHeight() + 2; }
  // The row under a client point, -1 for none.
  int RowAt(int y);
  TRect CheckBoxRect(int row);

  std::unique_ptr<TOwnedCollection<THotKeyColumn>> columns_;
  std::vector<TListRow> rows_;
  int selected_ = -1;
};
