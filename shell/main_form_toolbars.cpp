// The main window's nine toolbars: the toolbar menu (show, hide, "Align all"), the places kept
// under "ToolbarPos" between sessions.
#include "components/flat_dock.h"
#include "platform/exceptions.h"
#include "platform/gui/menus.h"
#include "platform/gui/system_tray.h"
#include "shell/main_form.h"
#include "shell/program_start.h"

namespace {

const std::string kToolbarPosKey = std::string(kProductKey) + "\\ToolbarPos";
constexpr int kToolbarCount = 9;

}  // namespace

void TMainForm::BindToolbars() {
  Handler("TBClick", &TMainForm::TBClick);
  Handler("ShowAll1Click", &TMainForm::ShowAll1Click);
  Handler("ResetAll1Click", &TMainForm::ResetAll1Click);
  Handler("Toolbars1Click", &TMainForm::Toolbars1Click);
  Handler("ToolbarsPopupPopup", &TMainForm::ToolbarsPopupPopup);
  Field("DockTop", DockTop);
  Field("DockBottom", DockBottom);
  Field("DockLeft", DockLeft);
  Field("DockRight", DockRight);
  Field("TBFile", TBFile);
  Field("TBEdit", TBEdit);
  Field("TBView", TBView);
  Field("TBConvert", TBConvert);
  Field("TBTools", TBTools);
  Field("TBFont", TBFont);
  Field("TBParagraph", TBParagraph);
  Field("TBLanguage", TBLanguage);
  Field("TBHistory", TBHistory);
  Field("ToolbarsPopup", ToolbarsPopup);
  Field("FontTB", FontTB);
  Field("ParagraphTB", ParagraphTB);
  Field("LanguageTB", LanguageTB);
  Field("Toolbars1", Toolbars1);
}

TFlatToolbar* TMainForm::Toolbar(int number) const {
  switch (number) {
    case 0: return TBFile;
    case 1: return TBEdit;
    case 2: return TBLanguage;
    case 3: return TBFont;
    case 4: return TBParagraph;
    case 5: return TBConvert;
    case 6: return TBTools;
    case 7: return TBHistory;
    case 8: return TBView;
    default: return nullptr;
  }
}

void TMainForm::TBClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  if (item->Tag() == -1) {
    for (int i = 0; i < kToolbarCount; ++i) Toolbar(i)->SetVisible(false);
    return;
  }
  TFlatToolbar* bar = Toolbar(item->Tag());
  if (!bar) return;
  item->SetChecked(!item->Checked());
  bar->SetVisible(item->Checked());
}

void TMainForm::ShowAll1Click(TObject*) {
  for (int i = 0; i < kToolbarCount; ++i) {
    TFlatToolbar* bar = Toolbar(i);
    const bool formatting = bar == TBFont || bar == TBParagraph || bar == TBLanguage;
    bar->SetVisible(!formatting || !PlainView());
  }
}

void TMainForm::ResetAll1Click(TObject*) {
  const std::vector<std::vector<TFlatToolbar*>> rows = {{TBFile, TBEdit, TBConvert, TBTools, TBView},
                                                        {TBFont, TBParagraph, TBLanguage}};
  DockTop->BeginUpdate();
  DockBottom->BeginUpdate();
  // Docked first, so that each toolbar has its width along a top row.
  for (const auto& row : rows)
    for (TFlatToolbar* bar : row) bar->SetDockedTo(DockTop);
  TBHistory->SetDockedTo(DockBottom);
  for (size_t r = 0; r < rows.size(); ++r) {
    int pos = 0;
    for (TFlatToolbar* bar : rows[r]) {
      bar->SetDockRow(int(r));
      bar->SetDockPos(pos);
      if (bar->Visible()) pos += bar->Width();
    }
  }
  TBHistory->SetDockRow(0);
  TBHistory->SetDockPos(0);
  DockBottom->EndUpdate();
  DockTop->EndUpdate();
}

void TMainForm::Toolbars1Click(TObject*) {
  const TPoint cursor = CursorPos();
  ToolbarsPopup->Popup(cursor.X, cursor.Y);
}

void TMainForm::ToolbarsPopupPopup(TObject*) {
  for (int i = 0; i < ToolbarsPopup->Items()->Count(); ++i) {
    TMenuItem* item = ToolbarsPopup->Items()->Items(i);
    if (TFlatToolbar* bar = Toolbar(item->Tag()); bar && item->Caption() != "-") item->SetChecked(bar->Visible());
  }
}

void TMainForm::LoadToolbars() {
  try {
    LoadToolbarPositionsFromRegistry(*this, kToolbarPosKey);
  } catch (const Exception&) {
    // A damaged entry: the toolbars keep the places the layout gave them.
    ResetAll1Click(this);
  }
}

void TMainForm::SaveToolbars() {
  try {
    SaveToolbarPositionsToRegistry(*this, kToolbarPosKey);
  } catch (const Exception&) {
    // The places are not worth a failed close.
  }
}
