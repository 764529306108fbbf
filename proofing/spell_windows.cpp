#include "proofing/spell_windows.h"

#include <memory>

#include "platform/gui/application.h"
#include "proofing/spell.h"
#include "proofing/spell_addword_form.h"
#include "proofing/spell_message_form.h"
#include "proofing/spell_options_form.h"
#include "proofing/spell_placement.h"
#include "proofing/spell_popup_form.h"
#include "proofing/spell_setup_form.h"
#include "proofing/spell_start_form.h"

QM_CLASS_INFO(TSpellWindows, TComponent, [](TClassBuilder<TSpellWindows>&) {})

TSpellWindows* SpellWindows = nullptr;

TSpellWindows::TSpellWindows(TComponent* Owner) : TComponent(Owner) {
  Popup = new TSCPopup(this);
  Message = new TSCMessage(this);
  Start = new TSCStart(this);
  Options = new TSCOptions(this);
  AddWord = new TSCAddWord(this);
  Start->OnSettings = [this](TObject*) { ShowOptions(); };
  Options->OnDictionaries = [this](TObject*) { ShowSetup(); };
}

bool TSpellWindows::ShowOptions() { return Options->ShowModal() == mrOk; }

bool TSpellWindows::AskStart(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope) {
  return Start->Ask(HasSelection, Mode, Scope);
}

TPopupAnswer TSpellWindows::AskWord(TWordQuestion& Question) {
  Popup->Prepare(Question);
  if (PointOf) {
    const TPoint place = PlacePopup(Popup->BoundsRect(), PointOf(Question.Start), Screen->Width(), Screen->Height());
    Popup->SetBounds(place.X, place.Y, Popup->Width(), Popup->Height());
  }
  const TPopupAnswer answer = TSCPopup::AnswerOf(Popup->ShowModal());
  if (answer == TPopupAnswer::Replace || answer == TPopupAnswer::ReplaceAll) Question.Replacement = Popup->Replacement();
  return answer;
}

TFindingAnswer TSpellWindows::AskFinding(TWordClass Kind, int Start, int) {
  Message->Prepare(Kind);
  if (PointOf) {
    const TPoint place = PlaceFinding(Message->Height(), PointOf(Start), Screen->Height());
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
  AddWord->SetBounds(Popup->Left(), Popup->Top(), AddWord->Width(), AddWord->Height());
  if (Modal) AddWord->ShowModal();
  else AddWord->Show();
}

void TSpellWindows::ProcessMessages() { Application->ProcessMessages(); }
