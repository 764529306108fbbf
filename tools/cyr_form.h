// TCyrForm: the Cyrillic decoder window. Its three tabs give the main window a simple change
// (modal result 6, Enc1 to Enc2), a queue of changes (10, ApplyQueue) and the automatic search
// (1, AutoDecode); the main window also runs the search silently when a file opens and when
// Russian text is pasted.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/form.h"
#include "textcore/interface_hooks.h"
#include "tools/cyr_decoder.h"

class TAutoForm;
class TButton;
class TComboBox;
class TListBox;
class TPageControl;
class TTabSheet;
class TUpDown;

class TCyrForm : public TForm {
  QM_CLASS(TCyrForm, TForm)
public:
  explicit TCyrForm(TComponent* owner);
  ~TCyrForm() override;

  TPageControl* PageControl1 = nullptr;
  TTabSheet *TabSimple = nullptr, *TabQueue = nullptr, *TabAuto = nullptr;
  TComboBox *Enc1 = nullptr, *Enc2 = nullptr, *Enc11 = nullptr, *Enc12 = nullptr;
  TButton *BtnApplyOne = nullptr, *BtnEnqueue = nullptr, *BtnApplyAll = nullptr, *BtnRemove = nullptr,
          *BtnClear = nullptr, *BtnAuto = nullptr, *BtnClose = nullptr, *Button2 = nullptr;
  TListBox* CueList = nullptr;  // the queue, one "FROM to TO" line a change
  TUpDown* DecodeDepth = nullptr;  // hidden: the depth a "Continue" goes on to (1..6)

  // Wired by the main window: the progress of the search (true stops it), its caption, the
  // interface messages by key, whether the dictionary knows a Russian word, the frequency class
  // of a Russian word, "Options...".
  TProgressCallback OnProgress;
  std::function<void(const std::string& caption)> OnProgressCaption;
  std::function<std::string(const std::string& key)> OnGetMessage;
  std::function<bool(const std::string& word)> OnKnownWord;
  std::function<int(const std::string& word)> OnWordClass;
  TNotifyEvent OnOptions;

  // The queue of changes, first to last.
  const TCyrChain& Queue() const { return queue_; }
  void SetQueue(const TCyrChain& queue);
  // Converts `text` (code page 1251) by every change of the queue in order.
  void ApplyQueue(std::string& text) const;
  // Searches for the chain of wrong changes `text` went through (at most `maxDepth` steps).
  // Not silent, each chain found is offered in the status dialog and the outcome is shown. True
  // when a chain was accepted: it becomes the queue and `text` is converted by it. Otherwise
  // `text` stays as it was.
  bool AutoDecode(std::string& text, int maxDepth, bool silent);
  // The result of the last AutoDecode.
  const TCyrSearchResult& LastSearch() const { return lastSearch_; }

private:
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void BtnEnqueueClick(TObject* Sender);
  void CueListSelectItem(TObject* Sender);
  void BtnRemoveClick(TObject* Sender);
  void BtnClearClick(TObject* Sender);
  void Button2Click(TObject* Sender);
  std::string Message(const std::string& key) const;
  TAutoForm& StatusDialog();
  void UpdateQueueButtons();

  TCyrChain queue_;
  TCyrSearchResult lastSearch_;
};

extern TCyrForm* CyrForm;
