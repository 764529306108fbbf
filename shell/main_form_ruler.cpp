// The main window's ruler (paragraph indents of the formatted view) and its directory of web
// services (Help > News & Updates, and every 21st start).
#include "platform/gui/menus.h"
#include "shell/main_form.h"
#include "shell/preferences_key.h"
#include "textcore/win_registry.h"
#include "shell/net_direct.h"
#include "shell/ruler_indents.h"
#include "textcore/rich_edit.h"
#include "textcore/ruler.h"

void TMainForm::BindRuler() {
  Handler("ShowRuler1Click", &TMainForm::ShowRuler1Click);
  Handler("Ruler1IndentChange", &TMainForm::Ruler1IndentChange);
  Handler("Ruler1Resize", &TMainForm::Ruler1Resize);
  Handler("QuillomarkUpdatesClick", &TMainForm::QuillomarkUpdatesClick);
  Field("Ruler1", Ruler1);
  Field("ShowRuler1", ShowRuler1);
  Field("NetDirect1", NetDirect1);
  OnWebDirectoryDue = [this](TObject*) { RunWebDirectory(false); };
}

void TMainForm::ShowRuler1Click(TObject*) {
  if (ShowRuler1) ShowRuler1->SetChecked(!ShowRuler1->Checked());
  ApplyRulerVisibility();
}

void TMainForm::ApplyRulerVisibility() {
  if (!Ruler1) return;
  Ruler1->SetRichedit(Editor);
  Ruler1->SetVisible(ShowRuler1 && ShowRuler1->Checked());
  UpdateRuler();
}

void TMainForm::UpdateRuler() {
  if (!Ruler1) return;
  // Plain text has no paragraph indents, and no indent changes under a running operation.
  const bool live = !PlainView() && CommandAllowed(TCommandNeed::Idle, CommandState());
  Ruler1->SetEnabled(live);
  if (!live) return;
  const TRulerPositions at = RulerPositions(ReadIndents(*Editor), Ruler1->Width());
  // The setters keep the markers apart: the right one is tried before and after the others.
  Ruler1->SetIndentRight(at.Right);
  Ruler1->SetIndentFirst(at.First);
  Ruler1->SetIndentLeft(at.Left);
  Ruler1->SetIndentRight(at.Right);
}

void TMainForm::Ruler1Resize(TObject*) {
  // The right marker keeps its distance from the ruler's end.
  UpdateRuler();
}

void TMainForm::Ruler1IndentChange(TObject*, int IndentID) {
  if (!Ruler1->Enabled()) return;  // a disabled ruler indents nothing
  const TParaIndents before = ReadIndents(*Editor);
  WriteIndents(*Editor, before,
               IndentsFromRuler(IndentID, {Ruler1->IndentFirst(), Ruler1->IndentLeft(), Ruler1->IndentRight()},
                                Ruler1->Width(), before));
}

void TMainForm::QuillomarkUpdatesClick(TObject*) { RunWebDirectory(true); }

void TMainForm::RunWebDirectory(bool force) {
  if (!NetDirect1) return;
  // The directory comes with the program; it is downloaded only from an address the user set.
  NetDirect1->URL = TWinRegistry(kProductKey).ReadString("General", "DirectoryURL", "");
  NetDirect1->Execute(force);
}
