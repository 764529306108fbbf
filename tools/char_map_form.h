// TFormGenChar: the "Character Map" window. It shows a grid of the characters of a font from a
// chosen code, previews the selected one with its code, and inserts it into the editor, copies
// it or adds it to the special symbols.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/form.h"
#include "components/ex_draw_grid.h"
#include "platform/gui/grids.h"

class TButton;
class TComboBox;
class TExSpinEdit;
class TFlatFontComboBox;
class TFormStorage;
class TLabel;
class TPaintBox;
class TRichEditW;

class TFormGenChar : public TForm {
  QM_CLASS(TFormGenChar, TForm)
public:
  explicit TFormGenChar(TComponent* owner);
  ~TFormGenChar() override;

  TFlatFontComboBox* FontCombo = nullptr;
  TExSpinEdit *EditSize = nullptr, *EditFrom = nullptr, *EditPreview = nullptr;
  TComboBox* ComboBox1 = nullptr;  // Unicode blocks
  TExDrawGrid* Grid = nullptr;
  TPaintBox* PaintBox = nullptr;
  TLabel* Label1 = nullptr;  // the selected code
  TFormStorage* FormStorage1 = nullptr;
  // The editor characters go into (the main window's).
  TRichEditW* Editor = nullptr;

  // The code of the selected cell.
  int SelectedCode() const;
  // The grid starts at the block's first code.
  void ApplyBlock(int index);
  // The grid's shape follows the font size.
  void ApplySize();
  // Inserts the selected character in the chosen font; copies it; adds it to the special symbols
  // (through OnAddSymbol: the main window shows them with the character added).
  void InsertSelected();
  void CopySelected();
  void AddSelected();
  std::function<void(int code, const std::string& fontName)> OnAddSymbol;

private:
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FontComboChange(TObject* Sender);
  void EditSizeChange(TObject* Sender);
  void ComboBox1Change(TObject* Sender);
  void EditFromChange(TObject* Sender);
  void EditPreviewChange(TObject* Sender);
  void GridDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
  void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
  void GridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void PaintBoxPaint(TObject* Sender);
  void BtnAddClick(TObject* Sender);
  void BtnInsertClick(TObject* Sender);
  void BtnCopyClick(TObject* Sender);
  void ShowSelected();
  std::string FontName() const;

  bool applyingBlock_ = false;
};

extern TFormGenChar* FormGenChar;
