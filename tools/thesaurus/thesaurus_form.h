// TThesaurusForm: the thesaurus's modal word picker. It looks words up in the MyThes data of
// their language, lists the meanings and the synonyms of the chosen one, and hands a synonym
// back: at once with close-on-copy, else the last one "Replace" took when the window closes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "tools/thesaurus/thesaurus_data.h"

class TButton;
class TEdit;
class TLabel;
class TListBox;

class TThesaurusForm : public TForm {
  QM_CLASS(TThesaurusForm, TForm)
public:
  explicit TThesaurusForm(TComponent* owner, bool closeOnCopy);
  ~TThesaurusForm() override;

  TLabel *LabelWord = nullptr, *LabelStatus = nullptr;
  TEdit* EditWord = nullptr;
  TButton *BtnLookup = nullptr, *BtnReplace = nullptr, *BtnCancel = nullptr;
  TListBox *ListMeanings = nullptr, *ListSynonyms = nullptr;

  // Looks `word` (system code page) up and lists what the thesaurus of its language holds;
  // raises EThesaurusData when that thesaurus is not installed.
  void LookUp(const std::string& word);
  // Runs the picker for `word`; the chosen synonym (system code page), "" for none.
  std::string Pick(const std::string& word);
  // The synonym "Replace" took last (system code page).
  const std::string& Chosen() const { return chosen_; }

private:
  void BtnLookupClick(TObject* Sender);
  void ListMeaningsClick(TObject* Sender);
  void BtnReplaceClick(TObject* Sender);
  // The thesaurus of Russian (true) or English, read on first need.
  const TThesaurusData& Data(bool russian);

  bool closeOnCopy_;
  std::unique_ptr<TThesaurusData> data_[2];
  std::vector<TThesMeaning> meanings_;
  std::string chosen_;
};
