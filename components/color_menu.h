// TColorMenu: a popup menu of colour swatches ("Auto", "None", 16 named colours in columns,
// "Other..." with the colour dialog) that a form pops up under a button. Custom colours picked
// through "Other" are kept before it, newest first, at most four.
#pragma once

#include <string>
#include <vector>

#include "components/ex_popup_menu.h"

class TColorDialog;
class TControl;

using TColorButtons = unsigned;
inline constexpr TColorButtons cbAuto = 1, cbNone = 2, cbOther = 4;
// The colours of the special items: "Auto" is the window text colour, "None" no colour at all
// (clNone), "Other" opens the colour dialog.
inline constexpr TColor kAutoColor = clWindowText, kNoneColor = clNone, kOtherColor = -1;
inline constexpr int kMaxCustomColors = 4;

struct TColorMenuEntry {
  std::string Caption;
  TColor Color = 0;
  TMenuBreakKind Break = mbNone;
  bool Custom = false;
  friend bool operator==(const TColorMenuEntry&, const TColorMenuEntry&) = default;
};

// The items of a menu with these buttons.
std::vector<TColorMenuEntry> ColorMenuEntries(TColorButtons buttons);
// Puts a custom colour in front of the other custom colours (before "Other", or at the end),
// as the first of a new column, dropping the oldest beyond four; answers its position.
int InsertCustomColor(std::vector<TColorMenuEntry>& entries, TColor color);

using TColorSelectEvent = std::function<void(TObject* Sender, int ColorIndex, TColor Color)>;

class TColorMenu : public TExPopupMenu {
  QM_CLASS(TColorMenu, TExPopupMenu)
public:
  explicit TColorMenu(TComponent* owner);

  TColorButtons ColorButtons() const { return buttons_; }
  void SetColorButtons(TColorButtons v);
  // Pops the menu up at the control's bottom-left corner.
  void PopupUnder(TControl* control);
  TControl* PopupControl() const { return popupControl_; }
  const std::vector<TColorMenuEntry>& Entries() const { return entries_; }
  // The colour dialog "Other" runs.
  TColorDialog* ColorDialog() const { return dialog_; }
  // What a click on item `index` does: a colour is reported, "Other" asks the dialog first.
  void ClickItem(int index);
  // Makes the items of the table again (custom colours are dropped).
  void RebuildItems();

  TColorSelectEvent OnColorSelect;

protected:
  void Loaded() override;
  void DrawItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) override;

public:
  void MeasureMenuItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) override;

private:
  void SyncItems();
  TColorButtons buttons_ = cbOther;
  std::vector<TColorMenuEntry> entries_;
  TColorDialog* dialog_ = nullptr;
  TControl* popupControl_ = nullptr;
};
