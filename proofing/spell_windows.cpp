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

TSpellWindows::TSpellWindows(TComponent* Owner) : TComponent(Owner) {}

TSCPopup* TSpellWindows::Popup() {
  if (!FPopup) FPopup = new TSCPopup(this);
  return FPopup;
}

TSCMessage* TSpellWindows::Message() {
  if (!FMessage) FMessage = new TSCMessage(this);
  return FMessage;
}

TSCStart* TSpellWindows::Start() {
  if (!FStart) {
    FStart = new TSCStart(this);
    FStart->OnSettings = [this](TObject*) { ShowOptions(); };
  }
  return FStart;
}

TSCOptions* TSpellWindows::Options() {
  if (!FOptions) {
    FOptions = new TSCOptions(this);
    FOptions->OnDictionaries = [this](TObject*) { ShowSetup(); };
  }
  return FOptions;
}

TSCAddWord* TSpellWindows::AddWord() {
  if (!FAddWord) {
    FAddWord = new TSCAddWord(this);
    FAddWord->SetSpell(FSpell);
    if (FMessages) FAddWord->Message = FMessages;
  }
  return FAddWord;
}

TSCList* TSpellWindows::List() {
  if (!FList) {
    FList = new TSCList(this);
    FList->Options = Options();
    FList->SetEditor(FResultsEditor);
    FList->OnStop = [this](TObject*) {
      if (FSpell) FSpell->Shutdown();
    };
    FList->OnRecheck = [this](const TSpellFinding& Finding) { return FSpell && FSpell->RecheckFinding(Finding); };
    FList->OnAddWord = [this](const std::string& Word, LCID Lcid, bool Show) {
      if (Show) ShowAddWords(Word, Lcid, false);
      else AddWord()->AppendWord(Word, Lcid);
    };
  }
  return FList;
}

TSpellWindows::~TSpellWindows() {
  if (SpellWindows == this) SpellWindows = nullptr;
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

bool TSpellWindows::ShowOptions() { return Options()->ShowModal() == mrOk; }

bool TSpellWindows::AskStart(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope) {
  return Start()->Ask(HasSelection, Mode, Scope);
}

std::optional<TPoint> TSpellWindows::WordPoint(int Position, int MinY) const {
  if (!FEdit) return std::nullopt;
  const auto [x, y] = FEdit->Control().PosFromChar(Position);
  return FEdit->ClientToScreen(Point(x, std::max(y, MinY)));
}

TPopupAnswer TSpellWindows::AskWord(TWordQuestion& Question) {
  TSCPopup* popup = Popup();
  popup->Prepare(Question);
  if (const auto word = WordPoint(Question.Start, 20)) {
    const TPoint place = PlacePopup(popup->BoundsRect(), *word, Screen->Width(), Screen->Height());
    popup->SetBounds(place.X, place.Y, popup->Width(), popup->Height());
  }
  const TPopupAnswer answer = TSCPopup::AnswerOf(popup->ShowModal());
  if (answer == TPopupAnswer::Replace || answer == TPopupAnswer::ReplaceAll) Question.Replacement = popup->Replacement();
  return answer;
}

TFindingAnswer TSpellWindows::AskFinding(TWordClass Kind, int Start, int) {
  TSCMessage* message = Message();
  message->Prepare(Kind);
  if (const auto at = WordPoint(Start, 10)) {
    const TPoint place = PlaceFinding(message->Height(), *at, Screen->Height());
    message->SetBounds(place.X, place.Y, message->Width(), message->Height());
  }
  return TSCMessage::AnswerOf(message->ShowModal());
}

void TSpellWindows::SetSpell(TQSpell* Spell) {
  FSpell = Spell;
  if (FAddWord) FAddWord->SetSpell(Spell);
}

void TSpellWindows::CheckDocument(ISpellEditor& Editor) {
  if (FSpell) FSpell->CheckDocument(Editor, Options()->SpellOptions());
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
  FMessages = std::move(Message);
  if (FAddWord) FAddWord->Message = FMessages;
}

void TSpellWindows::ShowAddWords(const std::string& Text, LCID Lcid, bool Modal) {
  TSCAddWord* addWord = AddWord();
  addWord->AppendWord(Text, Lcid);
  if (addWord->Visible()) return;
  // Where the popup last stood, or mid-screen before it ever showed.
  const bool placed = FPopup && (FPopup->Left() != 0 || FPopup->Top() != 0);
  const int left = placed ? FPopup->Left() : (Screen->Width() - addWord->Width()) / 2;
  const int top = placed ? FPopup->Top() : (Screen->Height() - addWord->Height()) / 2;
  addWord->SetBounds(std::max(0, left), std::max(0, top), addWord->Width(), addWord->Height());
  if (Modal) addWord->ShowModal();
  else addWord->Show();
}

void TSpellWindows::Clear() {
  if (FList) FList->Clear();
}

void TSpellWindows::AddBranch(TWordClass Kind, const std::string& Caption, unsigned Colour) {
  List()->AddBranch(Kind, Caption, Colour);
}

void TSpellWindows::Reset() { List()->Reset(); }

bool TSpellWindows::Progress(int Percent) { return List()->Progress(Percent); }

void TSpellWindows::AddFinding(const std::string& Word, const std::string& Second, LCID Lcid, bool Group,
                               TWordClass Kind, int Length, int Start) {
  List()->AddFinding(Word, Second, Lcid, Group, Kind, Length, Start);
}

bool TSpellWindows::ShowResults() { return List()->ShowResults(); }

bool TSpellWindows::HasResults() { return FList && FList->HasResults(); }

void TSpellWindows::CloseResults() {
  if (FList) FList->CloseResults();
}

void TSpellWindows::SetEditor(ISpellEditor* Editor) {
  FResultsEditor = Editor;
  if (FList) FList->SetEditor(Editor);
}

void TSpellWindows::TextChanged(int Pos, int Removed, int Added) {
  if (FList) FList->TextChanged(Pos, Removed, Added);
}

void TSpellWindows::ProcessMessages() { Application->ProcessMessages(); }
