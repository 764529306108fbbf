// The Cyrillic decoder in the main window: the decoder window's choices, the silent decoding of
// opened plain files and of pasted Russian text.
#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/actions.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/std_controls.h"
#include "platform/locale.h"
#include "proofing/language.h"
#include "proofing/spell.h"
#include "proofing/word_frequencies.h"
#include "proofing/spell_global.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/operation.h"
#include "shell/plain_text.h"
#include "shell/converter_list.h"
#include "shell/preferences.h"
#include "shell/speed_form.h"
#include "textcore/rich_edit.h"
#include "tools/cyr_form.h"

namespace {

constexpr unsigned kWorkCodePage = 1251;
constexpr int mrSearch = 1, mrSimple = 6, mrQueue = 10;
constexpr int kSilentDepth = 1;

// "Auto-detect encoding in plain files" of the preferences.
bool DetectEncoding() { return PrefForm && PrefForm->CBEncOnOpen->Checked(); }

}  // namespace

TCyrForm* TMainForm::Decoder() {
  Application->EnsureForm(CyrForm);
  CyrForm->OnProgress = [this](TObject* sender, int percent) { return OperationProgress(sender, percent); };
  CyrForm->OnProgressCaption = [](const std::string& caption) { ProgressSetCaption(caption); };
  CyrForm->OnGetMessage = [](const std::string& key) { return GetLangMessage(key); };
  // "Options...": the processing options, styles included (decoding keeps them).
  CyrForm->OnOptions = [](TObject*) { ShowProcessingOptions(true); };
  // Without the spelling component the search ranks its readings without a dictionary.
  CyrForm->OnKnownWord = nullptr;
  CyrForm->OnWordClass = nullptr;
  if (SpellingInitialized()) {
    CyrForm->OnKnownWord = [](const std::string& word) { return SpellChecker().IsValidWord(word, LANG_RUSSIAN); };
    CyrForm->OnWordClass = [](const std::string& word) {
      const TQLanguage* russian = SpellChecker().FindLanguage(LANG_RUSSIAN);
      return russian ? russian->Frequencies().ClassOf(FrequencyKey(word, LANG_RUSSIAN)) : 0;
    };
  }
  return CyrForm;
}

void TMainForm::ToolsAutoConvertExecute(TObject*) {
  TCyrForm* decoder = Decoder();
  if (!decoder) return;
  switch (decoder->ShowModal()) {
    case mrSearch:
    case mrQueue: {
      // The document counts as changed only when the text was decoded.
      const bool wasModified = DocModified();
      bool changed = false;
      try {
        BeginOperation("...", false);
        GetWorkText();
        if (decoder->ModalResult() == mrQueue) {
          decoder->ApplyQueue(WorkText);
          changed = !decoder->Queue().empty();
        } else {
          changed = decoder->AutoDecode(WorkText, kCyrMaxDepth, false);
        }
        if (changed) PutWorkText();
      } catch (...) {
        EndOperation(changed ? GetLangMessage("HistAutoDecode") : "");
        if (!changed) SetModified(wasModified);
        throw;
      }
      EndOperation(changed ? GetLangMessage("HistAutoDecode") : "");
      if (!changed) SetModified(wasModified);
      break;
    }
    case mrSimple:
      RecodeCommand(decoder->Enc1->ItemIndex(), decoder->Enc2->ItemIndex());
      break;
    default:
      break;
  }
}

void TMainForm::PasteRussian1Click(TObject*) {
  if (!Clipboard()->HasFormat(CF_UNICODETEXT)) return;
  const std::u16string text = Clipboard()->AsUnicodeText();
  std::u16string pasted = text;
  TCyrForm* decoder = Decoder();
  if (decoder && DetectEncoding()) {
    // Only a text that was decoded changes; what code page 1251 cannot hold stays as it was.
    std::string bytes = WideToAnsi(text, kWorkCodePage);
    if (decoder->AutoDecode(bytes, kSilentDepth, true)) pasted = WorkTextToWide(text, WideToAnsi(text, kWorkCodePage), bytes);
  }
  Editor->SetSelTextW(pasted);
}

void TMainForm::DecodeOpenedText() {
  const TConverterRec* format = OS->CurrentFormat();
  if (!format || format->Class != "TXT" || OS->TextFormat().Encoding != TTextEncoding::Ansi) return;
  const bool russian = PrefForm && PrefForm->CBRusOnOpen->Checked();
  if (!russian && !DetectEncoding()) return;
  // The file's bytes, read again as code page 1251.
  const std::u16string loaded = Editor->GetTextW();
  std::string bytes = WideToAnsi(loaded, SystemCodePage());
  std::u16string text = AnsiToWide(bytes, kWorkCodePage);
  TCyrForm* decoder = Decoder();
  if (DetectEncoding() && decoder) {
    bytes = WideToAnsi(text, kWorkCodePage);
    if (decoder->AutoDecode(bytes, kSilentDepth, true)) text = AnsiToWide(bytes, kWorkCodePage);
  }
  // The file's own bytes stay with the document for a Save without an edit.
  if (text != loaded) OS->SetDecodedText(text);
}
