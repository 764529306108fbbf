#include "components/color_menu.h"

#include <algorithm>

#include "platform/gui/control.h"
#include "platform/gui/dialogs.h"

QM_CLASS_INFO(TColorMenu, TExPopupMenu, [](TClassBuilder<TColorMenu>& b) {
  b.Set<TColorButtons>("ColorButtons", {"cbAuto", "cbNone", "cbOther"}, &TColorMenu::ColorButtons,
                       &TColorMenu::SetColorButtons)
      .Event("OnColorSelect", &TColorMenu::OnColorSelect);
})

namespace {

struct Named {
  const char* caption;
  TColor color;
  TMenuBreakKind brk;
};
constexpr Named kColors[] = {
    {"Black", 0x000000, mbNone},   {"Maroon", 0x000080, mbNone}, {"Green", 0x008000, mbNone},
    {"Olive", 0x008080, mbNone},   {"Navy", 0x800000, mbNone},   {"Purple", 0x800080, mbBreak},
    {"Teal", 0x808000, mbNone},    {"Gray", 0x808080, mbNone},   {"Silver", 0xC0C0C0, mbNone},
    {"Red", 0x0000FF, mbBreak},    {"Lime", 0x00FF00, mbNone},   {"Yellow", 0x00FFFF, mbNone},
    {"Blue", 0xFF0000, mbNone},    {"Fuchsia", 0xFF00FF, mbBreak}, {"Aqua", 0xFFFF00, mbNone},
    {"White", 0xFFFFFF, mbNone},
};

// The items that show their caption instead of a swatch.
bool IsTextItem(TColor color) { return color < 0 || color == kNoneColor; }

}  // namespace

std::vector<TColorMenuEntry> ColorMenuEntries(TColorButtons buttons) {
  std::vector<TColorMenuEntry> entries;
  if (buttons & cbAuto) entries.push_back({"Auto", kAutoColor});
  if (buttons & cbNone) entries.push_back({"None", kNoneColor});
  const bool specialFirst = !entries.empty();
  for (const Named& n : kColors) entries.push_back({n.caption, n.color, n.brk});
  if (specialFirst) entries[entries.size() - 16].Break = mbBarBreak;
  if (buttons & cbOther) entries.push_back({"Other", kOtherColor, mbBarBreak});
  return entries;
}

int InsertCustomColor(std::vector<TColorMenuEntry>& entries, TColor color) {
  auto other = std::find_if(entries.begin(), entries.end(), [](const TColorMenuEntry& e) { return e.Color == kOtherColor; });
  auto firstCustom = std::find_if(entries.begin(), entries.end(), [](const TColorMenuEntry& e) { return e.Custom; });
  const auto at = firstCustom != entries.end() ? firstCustom : other;
  if (at != entries.end() && at->Custom) at->Break = mbNone;  // the new one starts the column
  const int index = int(at - entries.begin());
  entries.insert(entries.begin() + index, {ColorToString(color), color, mbBreak, true});
  // The oldest custom colours beyond the fourth go.
  int customs = 0;
  for (auto it = entries.begin(); it != entries.end();) {
    if (it->Custom && ++customs > kMaxCustomColors) it = entries.erase(it);
    else ++it;
  }
  return index;
}

TColorMenu::TColorMenu(TComponent* owner) : TExPopupMenu(owner) {
  dialog_ = new TColorDialog(this);
  SetStyle(msBtnLowered);
  RebuildItems();
}

void TColorMenu::SetColorButtons(TColorButtons v) {
  buttons_ = v;
  if (!(ComponentState() & csLoading)) RebuildItems();
}

void TColorMenu::Loaded() {
  TExPopupMenu::Loaded();
  RebuildItems();
}

void TColorMenu::RebuildItems() {
  entries_ = ColorMenuEntries(buttons_);
  SyncItems();
}

void TColorMenu::SyncItems() {
  // Items are reused rather than freed: "Other" rebuilds the menu from the click of one of them.
  while (Items()->Count() < int(entries_.size())) {
    auto* item = new TMenuItem(this);
    item->OnClick = [this](TObject* sender) { ClickItem(static_cast<TMenuItem*>(sender)->Tag()); };
    Items()->Add(item);
  }
  for (int i = 0; i < Items()->Count(); ++i) {
    TMenuItem* item = Items()->Items(i);
    const bool used = i < int(entries_.size());
    item->SetVisible(used);
    if (!used) continue;
    item->SetCaption(entries_[size_t(i)].Caption);
    item->SetTag(i);
    item->SetBreak(entries_[size_t(i)].Break);
  }
}

void TColorMenu::PopupUnder(TControl* control) {
  popupControl_ = control;
  if (!control) return;
  const TPoint p = control->ClientToScreen(Point(0, control->Height()));
  Popup(p.X, p.Y);
}

void TColorMenu::ClickItem(int index) {
  if (index < 0 || index >= int(entries_.size())) return;
  if (entries_[size_t(index)].Color == kOtherColor) {
    if (!dialog_->Execute()) return;
    const int at = InsertCustomColor(entries_, dialog_->Color());
    SyncItems();
    index = at;
  }
  if (OnColorSelect) OnColorSelect(this, index, entries_[size_t(index)].Color);
}

void TColorMenu::MeasureMenuItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
  if (item->IsLine()) {
    width = 20;
    height = MenuSeparatorHeight(canvas->TextHeight("-"));
    return;
  }
  const int index = item->Tag();
  const bool text = index >= 0 && index < int(entries_.size()) && IsTextItem(entries_[size_t(index)].Color);
  height = MenuItemHeight() + 2;
  width = text ? canvas->TextWidth(StripHotkey(item->Caption())) + 16 : 60;
}

void TColorMenu::DrawItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  if (item->IsLine()) {
    TExPopupMenu::DrawItem(item, canvas, rect, state);
    return;
  }
  const int index = item->Tag();
  if (index < 0 || index >= int(entries_.size())) return;
  const TColorMenuEntry& e = entries_[size_t(index)];
  TRect r = rect;
  const bool checked = item->Checked(), selected = state & odSelected;
  canvas->Brush()->SetColor(checked && !selected ? TColor(0xE0E0E0) : clMenu);
  canvas->FillRect(r);
  if (selected || checked) {
    TRect frame = r;
    const bool sunken = checked;
    Frame3D(*canvas, frame, sunken ? clBtnShadow : clBtnHighlight, sunken ? clBtnHighlight : clBtnShadow, 1);
  }
  TRect inner = Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3);
  if (IsTextItem(e.Color)) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor((state & odDisabled) ? clGrayText : clMenuText);
    canvas->DrawText(StripHotkey(e.Caption), inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas->Brush()->SetStyle(bsSolid);
    return;
  }
  canvas->Brush()->SetColor(e.Color);
  canvas->Pen()->SetColor(clGray);
  canvas->Rectangle(inner);
}
