#include "proofing/spell_setup_form.h"

#include "components/data_tree_header.h"
#include "components/data_tree_string.h"
#include "platform/code_pages.h"
#include "platform/locale_names.h"
#include "proofing/spell.h"

namespace {

void AddColumns(TDataStringTree& Tree, std::initializer_list<int> Widths) {
  for (int width : Widths) Tree.Header()->AddColumn()->SetWidth(width);
  Tree.Header()->SetOptions(Tree.Header()->Options() | hoVisible);
  Tree.SetOptions((Tree.Options() | voCheckSupport) & ~voShowButtons);
}

std::u16string Wide(const std::string& Text) { return AnsiToWide(Text, SystemCodePage()); }

}  // namespace

std::string DictionaryStateText(bool Ready, const std::string& Description) {
  return Ready ? "(" + Description + ")" : "Unpacking failed!";
}

QM_CLASS_INFO(TSCSetup, TForm, [](TClassBuilder<TSCSetup>&) {})

TSCSetup::TSCSetup(TComponent* Owner) : TForm(Owner) {
  Field("LngList", LngList);
  Field("DicList", DicList);
  ReadForm();
  AddColumns(*LngList, {115, 30});
  AddColumns(*DicList, {140, 150, 60});
  LngList->OnGetText = [this](TCustomDataStringTree*, PDataNode Node, int Column, TDSTTextType, std::u16string& Text) {
    Text = FSpell && Column == 0 ? Wide(LocaleName(FSpell->Language(int(Node->Index)).Lcid(), lnLocalized))
                                 : std::u16string();
  };
  DicList->OnGetText = [this](TCustomDataStringTree*, PDataNode Node, int Column, TDSTTextType, std::u16string& Text) {
    const TQDictionary& d = FSpell->Language(FLanguage).Dictionary(int(Node->Index));
    Text = Column == 0 ? Wide(d.Title())
         : Column == 1 ? Wide(DictionaryStateText(d.IsReady(), d.Description()))
                       : Wide(std::to_string(d.WordCount()));
  };
  LngList->OnFocusChanged = [this](TDataTreeModel*, PDataNode Node, int) {
    if (Node) SelectLanguage(int(Node->Index));
  };
}

void TSCSetup::StoreChecks() {
  if (!FSpell || FLanguage < 0) return;
  TQLanguage& language = FSpell->Language(FLanguage);
  int i = 0;
  for (PDataNode node = DicList->GetFirst(); node && i < language.DictionaryCount(); node = DicList->GetNextSibling(node), ++i)
    language.Dictionary(i).SavedEnabled = node->CheckState == csCheckedNormal;
}

void TSCSetup::SelectLanguage(int Index) {
  StoreChecks();
  FLanguage = Index;
  DicList->Clear();
  const TQLanguage& language = FSpell->Language(Index);
  for (int i = 0; i < language.DictionaryCount(); ++i) {
    PDataNode node = DicList->AddChild(nullptr);
    DicList->SetCheckType(node, ctCheckBox);
    DicList->SetCheckState(node, language.Dictionary(i).SavedEnabled ? csCheckedNormal : csUncheckedNormal);
  }
}

int TSCSetup::Execute(TQSpell& Spell) {
  FSpell = &Spell;
  FLanguage = -1;
  // The saved copies as they are before the window touches them: Cancel brings them back.
  std::vector<std::vector<bool>> saved;
  LngList->Clear();
  for (int l = 0; l < Spell.LanguageCount(); ++l) {
    TQLanguage& language = Spell.Language(l);
    language.SaveDictionaryStates();
    saved.emplace_back();
    for (int i = 0; i < language.DictionaryCount(); ++i) saved.back().push_back(language.Dictionary(i).SavedEnabled);
    PDataNode node = LngList->AddChild(nullptr);
    LngList->SetCheckType(node, ctCheckBox);
    LngList->SetCheckState(node, language.Active ? csCheckedNormal : csUncheckedNormal);
  }
  if (Spell.LanguageCount() > 0) {
    LngList->SetFocusedNode(LngList->GetFirst());
    SelectLanguage(0);
  }
  const int result = ShowModal();
  StoreChecks();
  if (result == mrOk || result == mrIgnore) {
    Apply(result);
  } else {
    for (int l = 0; l < Spell.LanguageCount(); ++l)
      for (int i = 0; i < Spell.Language(l).DictionaryCount(); ++i)
        Spell.Language(l).Dictionary(i).SavedEnabled = saved[l][i];
  }
  return result;
}

void TSCSetup::Apply(int Result) {
  int l = 0;
  for (PDataNode node = LngList->GetFirst(); node && l < FSpell->LanguageCount(); node = LngList->GetNextSibling(node), ++l) {
    TQLanguage& language = FSpell->Language(l);
    if (Result == mrOk) {
      language.Active = node->CheckState == csCheckedNormal;
      language.ReevaluateDictionaries();
    } else {
      language.SetDefaultDictionaries();
      language.SaveDictionaryStates();
    }
  }
}
