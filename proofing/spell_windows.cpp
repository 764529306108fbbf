#include "proofing/spell_windows.h"

#include <algorithm>
#include <memory>

#include "platform/gui/application.h"
#include "platform/gui/rich_edit_control.h"
#include "proofing/spell.h"
#include "proofing/spell_addword_form.h"
#include "proofing/spell_editor_adapter.h"
#include "proofing/spell_list_form.h"
#include "proofing/spell_message_form.h"
#include "proofing/spell_options_form.h"
#include "proofing/spell_placement.h"
#include "proofing/spell_popup_form.h"
#include "proofing/spell_setup_form.h"
#include "proofing/spell_start_form.h"
#include "textcore/rich_edit.h"

QM_CLASS_INFO(TSpellWindows, TComponent, [](TClassBuilder<TSpellWindows>&) {})

TSpellWindows* SpellWindows = nullptr;

TSpellWindows::TSpellWindows(TComponent* Owner) : TComponent(Owner) {
  Popup = new TSCPopup(this);
  Message = new TSCMessage(this);
  Start = new TSCStart(this);
  Options = new TSCOptions(this);
  AddWord = new TSCAddWord(this);
  List = new TSCList(this);
  Start->OnSettings = [this](TObject*) { ShowOptions(); };
  Options->OnDictionaries = [this](TObject*) { ShowSetup(); };
  List->Options = Options;
  List->OnStop = [this](TObject*) {
    if (FSpell) FSpell->Shutdown();
  };
  List->OnRecheck = [this](const TSpellFinding& Finding) { return FSpell && FSpell->RecheckFinding(Finding); };
  List->OnAddWord = [this](const std::string& Word, LCID Lcid, bool Show) {
    if (Show) ShowAddWords(Word, Lcid, false);
    else AddWord->AppendWord(Word, Lcid);
  };
}

TSpellWindows::~TSpellWindows() {
  // The component keeps no editor of ours and no results window past this point.
  if (FSpell && FEditor && FSpell->Editor() == FEditor.get()) FSpell->CloseResults();
  if (FEdit) RemoveFreeNotification(FEdit);
}

void TSpellWindows::Notification(TComponent* Component, TOperation Operation) {
  TComponent::Notification(Component, Operation);
  if (Operation != TOperation::opRemove || Component != FEdit) return;
  // The control is gone: nothing may touch it any more.
  if (FSpell && FSpell->Editor() == FEditor.get()) FSpell->ReleaseEditor();
  FEditor.reset();
  FEdit = nullptr;
}

bool TSpellWindows::ShowOptions() { return Options->ShowModal() == mrOk; }

bool TSpellWindows::AskStart(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope) {
  return Start->Ask(HasSelection, Mode, Scope);
}

std::optional<TPoint> TSpellWindows::WordPoint(int Position, int MinY) const {
  if (!FEdit) return std::nullopt;
  const auto [x, y] = FEdit->Control().PosFromChar(Position);
  return FEdit->ClientToScreen(Point(x, std::max(y, MinY)));
}

TPopupAnswer TSpellWindows::AskWord(TWordQuestion& Question) {
  Popup->Prepare(Question);
  if (const auto word = WordPoint(Question.Start, 20)) {
    const TPoint place = PlacePopup(Popup->BoundsRect(), *word, Screen->Width(), Screen->Height());
    Popup->SetBounds(place.X, place.Y, Popup->Width(), Popup->Height());
  }
  const TPopupAnswer answer = TSCPopup::AnswerOf(Popup->ShowModal());
  if (answer == TPopupAnswer::Replace || answer == TPopupAnswer::ReplaceAll) Question.Replacement = Popup->Replacement();
  return answer;
}

TFindingAnswer TSpellWindows::AskFinding(TWordClass Kind, int Start, int) {
  Message->Prepare(Kind);
  if (const auto at = WordPoint(Start, 10)) {
    const TPoint place = PlaceFinding(Message->Height(), *at, Screen->Height());
    Message->SetBounds(place.X, place.Y, Message->Width(), Message->Height());
  }
  return TSCMessage::AnswerOf(Message->ShowModal());
}

void TSpellWindows::SetSpell(TQSpell* Spell) {
  FSpell = Spell;
  AddWord->SetSpell(Spell);
}

void TSpellWindows::CheckDocument(ISpellEditor& Editor) {
  if (FSpell) FSpell->CheckDocument(Editor, Options->SpellOptions());
}

void TSpellWindows::CheckDocument(TCustomRichEditW& Edit) {
  if (FEdit != &Edit) {
    if (FSpell && FEditor && FSpell->Editor() == FEditor.get()) FSpell->CloseResults();
    if (FEdit) RemoveFreeNotification(FEdit);
    FEditor = std::make_unique<TRichEditSpellEditor>(Edit);
    FEdit = &Edit;
    FreeNotification(FEdit);
  }
  CheckDocument(*FEditor);
}

int TSpellWindows::ShowSetup() {
  if (!FSpell) return mrCancel;
  std::unique_ptr<TSCSetup> form(new TSCSetup(nullptr));
  Setup = form.get();
  const int result = form->Execute(*FSpell);
  Setup = nullptr;
  return result;
}

void TSpellWindows::SetMessages(std::function<std::string(const std::string& Key)> Message) {
  AddWord->Message = std::move(Message);
}

void TSpellWindows::ShowAddWords(const std::string& Text, LCID Lcid, bool Modal) {
  AddWord->AppendWord(Text, Lcid);
  if (AddWord->Visible()) return;
  // Where the popup last stood, or mid-screen before it ever showed.
  const bool placed = Popup->Left() != 0 || Popup->Top() != 0;
  const int left = placed ? Popup->Left() : (Screen->Width() - AddWord->Width()) / 2;
  const int top = placed ? Popup->Top() : (Screen->Height() - AddWord->Height()) / 2;
  AddWord->SetBounds(std::max(0, left), std::max(0, top), AddWord->Width(), AddWord->Height());
  if (Modal) AddWord->ShowModal();
  else AddWord->Show();
}

void TSpellWindows::ProcessMessages() { Application->ProcessMessages(); }
