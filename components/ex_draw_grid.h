// TExDrawGrid: a draw grid whose fixed cells can look and act like buttons, with an in-place
// editor the form may refuse per cell, and column widths kept in a form's storage.
#pragma once

#include "components/placement_link.h"
#include "platform/gui/grids.h"

class TEdit;
class TFormPlacement;

using TFixedCellCheckEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Enabled)>;
using TFixedCellClickEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TEditShowEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& AllowEdit)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

class TExDrawGrid : public TDrawGrid, private TPlacementLink {
  QM_CLASS(TExDrawGrid, TDrawGrid)
public:
  explicit TExDrawGrid(TComponent* owner);
  ~TExDrawGrid() override;

  bool FixedButtons() const { return fixedButtons_; }
  void SetFixedButtons(bool v);
  TFormPlacement* IniStorage() const { return storage_; }
  void SetIniStorage(TFormPlacement* storage);
  // The fixed cell held down (-1, -1 when none).
  int PressedCol() const { return pressedCol_; }
  int PressedRow() const { return pressedRow_; }

  // Opens the in-place editor on the current cell (with goEditing, unless OnShowEditor refuses).
  bool ShowEditor();
  // Closes it; `accept` hands the text to OnSetEditText.
  void HideEditor(bool accept);
  bool EditorVisible() const;
  TEdit* InplaceEditor() const { return editor_; }

  TFixedCellCheckEvent OnCheckButton;
  TFixedCellClickEvent OnFixedCellClick;
  TEditShowEvent OnShowEditor;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TNotifyEvent OnCancelEdit, OnColumnSized;

protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void PlacementRestored(TFormPlacement& placement) override;
  void PlacementSaved(TFormPlacement& placement) override;
  void PlacementGone(TFormPlacement& placement) override;
  std::string StorageSection() const;
  bool IsFixed(int col, int row) const { return col < FixedCols() || row < FixedRows(); }

  bool fixedButtons_ = false;
  int pressedCol_ = -1, pressedRow_ = -1, editCol_ = -1, editRow_ = -1;
  TFormPlacement* storage_ = nullptr;
  TEdit* editor_ = nullptr;
};
