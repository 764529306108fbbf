// TSpecialCharForm: the "Special Symbols" window. It keeps the user's list of symbols, each with
// a font and an optional shortcut, shows them as a grid of glyphs and inserts the chosen one into
// the editor; the main window asks it whether a key is a symbol's shortcut.
#pragma once

#include "components/ex_draw_grid.h"
#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "platform/gui/grids.h"

class TFormStorage;
class TLabel;
class TMenuItem;
class TPopupMenu;
class TRichEditW;

class TSpecialCharForm : public TForm {
  QM_CLASS(TSpecialCharForm, TForm)
public:
  explicit TSpecialCharForm(TComponent* owner);
  ~TSpecialCharForm() override;

  TExDrawGrid* Grid = nullptr;
  TLabel* LabelKey = nullptr;  // the selected symbol's shortcut
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem *InsertItem = nullptr, *InsertFontItem = nullptr, *DeleteItem = nullptr;
  TFormStorage* FormStorage1 = nullptr;
  // The editor symbols go into (the main window's).
  TRichEditW* Editor = nullptr;
  // "Add...": the main window shows the character map (made when first needed), whose Add
  // button adds the character picked there.
  TNotifyEvent OnShowCharMap;

  // The list's lines "code=font///shortcut".
  const std::vector<std::string>& Symbols() const { return symbols_; }
  // Reads "symbols.dat" of the program folder, or the defaults.
  void LoadSymbols();
  void AddSymbol(int code, const std::string& fontName);
  // Whether the key is a symbol's shortcut; `code` is that symbol.
  bool FindHotKey(uint16_t key, TShiftState shift, char16_t& code, std::string& fontName) const;
  // Replaces the editor's selection by the character; with a font, gives it that font.
  void InsertSymbol(char16_t code, const std::string& fontName);
  // The line index of a cell, or -1 beyond the list.
  int CellLine(int col, int row) const;
  // Inserts the selected cell's symbol (in the editor's font when `editorFont`) and hides.
  void InsertSelected(bool editorFont);
  // Lays the grid out for the window's width.
  void LayoutGrid();

private:
  void FormCreate(TObject* Sender);
  void FormResize(TObject* Sender);
  void GridDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
  void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
  void GridKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void GridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void PopupMenu1Popup(TObject* Sender);
  void InsertClick(TObject* Sender);
  void InsertFontClick(TObject* Sender);
  void AddClick(TObject* Sender);
  void DeleteClick(TObject* Sender);
  void ClearAllClick(TObject* Sender);
  void LoadDefaultsClick(TObject* Sender);
  void MoreClick(TObject* Sender);
  void ShowSelected();
  void ShowCell(int col, int row);
  int SelectedLine() const;

  std::vector<std::string> symbols_;
};

extern TSpecialCharForm* SpecialCharForm;
