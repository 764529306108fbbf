#include "tools/thesaurus/thesaurus_form.h"

#include "platform/code_pages.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"
#include "platform/locale.h"

QM_CLASS_INFO(TThesaurusForm, TForm, [](TClassBuilder<TThesaurusForm>&) {})

namespace {

// Whether system-code-page text holds a Cyrillic letter.
bool HasCyrillic(const std::string& word) {
  for (char16_t c : AnsiToWide(word))
    if (c >= 0x0400 && c <= 0x04FF) return true;
  return false;
}

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  return b == std::string::npos ? "" : s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

TThesaurusForm::TThesaurusForm(TComponent* owner, bool closeOnCopy) : TForm(owner), closeOnCopy_(closeOnCopy) {
  Handler("BtnLookupClick", &TThesaurusForm::BtnLookupClick);
  Handler("ListMeaningsClick", &TThesaurusForm::ListMeaningsClick);
  Handler("BtnReplaceClick", &TThesaurusForm::BtnReplaceClick);
  Field("LabelWord", LabelWord);
  Field("LabelStatus", LabelStatus);
  Field("EditWord", EditWord);
  Field("BtnLookup", BtnLookup);
  Field("BtnReplace", BtnReplace);
  Field("BtnCancel", BtnCancel);
  Field("ListMeanings", ListMeanings);
  Field("ListSynonyms", ListSynonyms);
  ReadForm();
  // With close-on-copy, "Replace" ends the window; otherwise it only takes the word.
  BtnReplace->SetModalResult(closeOnCopy ? mrOk : mrNone);
}

TThesaurusForm::~TThesaurusForm() = default;

const TThesaurusData& TThesaurusForm::Data(bool russian) {
  auto& data = data_[russian ? 1 : 0];
  if (!data) {
    const TThesaurusFiles files = FindThesaurusFiles(russian);
    try {
      data = std::make_unique<TThesaurusData>(files.Idx, files.Dat);
    } catch (const EThesaurusData&) {
      throw EThesaurusData(std::string("The ") + (russian ? "Russian" : "English") +
                           " thesaurus is not installed: " + files.Idx + " cannot be read. Install the package " +
                           (russian ? "mythes-ru" : "mythes-en-us") + ".");
    }
  }
  return *data;
}

void TThesaurusForm::LookUp(const std::string& word) {
  const std::string text = Trimmed(word);
  EditWord->SetText(text);
  ListMeanings->Clear();
  ListSynonyms->Clear();
  meanings_.clear();
  if (text.empty()) {
    LabelStatus->SetCaption("");
    return;
  }
  meanings_ = Data(HasCyrillic(text)).Lookup(AnsiToUtf8(AnsiLowerCase(text)));
  for (const TThesMeaning& m : meanings_) {
    std::string line = m.PartOfSpeech;
    if (!m.Synonyms.empty()) line.append(" ").append(PlainSynonym(m.Synonyms.front()));
    ListMeanings->Items()->Add(Utf8ToAnsi(line));
  }
  LabelStatus->SetCaption(meanings_.empty() ? "No synonyms found for \"" + text + "\"." : "");
  if (!meanings_.empty()) {
    ListMeanings->SetItemIndex(0);
    ListMeaningsClick(ListMeanings);
  }
}

void TThesaurusForm::BtnLookupClick(TObject*) {
  try {
    LookUp(EditWord->GetText());
  } catch (const EThesaurusData& e) {
    MessageDlg(e.Message, mtError, mbOK);
  }
}

void TThesaurusForm::ListMeaningsClick(TObject*) {
  ListSynonyms->Clear();
  const int i = ListMeanings->ItemIndex();
  if (i < 0 || i >= int(meanings_.size())) return;
  for (const std::string& s : meanings_[size_t(i)].Synonyms) ListSynonyms->Items()->Add(Utf8ToAnsi(PlainSynonym(s)));
  if (ListSynonyms->Items()->Count() > 0) ListSynonyms->SetItemIndex(0);
}

void TThesaurusForm::BtnReplaceClick(TObject*) {
  const int i = ListSynonyms->ItemIndex();
  if (i < 0) return;
  chosen_ = (*ListSynonyms->Items())[i];
  if (closeOnCopy_)
    SetModalResult(mrOk);
  else
    LabelStatus->SetCaption("Taken: \"" + chosen_ + "\"");
}

std::string TThesaurusForm::Pick(const std::string& word) {
  LookUp(word);
  const int result = ShowModalDialog(*this);
  // "Replace" (or OK) takes the selected synonym; a window closed otherwise keeps what an
  // earlier "Replace" took without close-on-copy.
  if (result == mrOk) {
    const int i = ListSynonyms->ItemIndex();
    return i >= 0 ? (*ListSynonyms->Items())[i] : chosen_;
  }
  return closeOnCopy_ ? "" : chosen_;
}
