#pragma once
// The one "document modified" state of the main window's document.
//
// Everything that changes the text marks it: typing and other edits of the
// editor, and every text operation when it ends. Only saving the document,
// opening another one and starting a new one clear it. Closing, New, Open,
// opening a recent file and the auto-save timer all read this state (never the
// editor's own modified flag, which the operation framework uses for "edited by
// hand since the last operation"), so the result of an operation is never
// dropped without the save question.

#include <functional>
#include <utility>

class TDocumentState {
public:
  // Called with the new value whenever the state changes (the status bar's
  // "Modified" panel listens here).
  using TChangeEvent = std::function<void(bool modified)>;

  // True when the document holds changes not yet saved.
  bool Modified() const { return modified_; }

  // The text was changed: by an edit in the editor or by a text operation.
  void MarkModified() { Set(true); }

  // The document now matches its file, or is a fresh one: after a successful
  // save, after opening a file (also a recent one) and after New.
  void MarkClean() { Set(false); }

  // Installs the change listener (may be empty).
  void SetOnChange(TChangeEvent onChange) { onChange_ = std::move(onChange); }

private:
  void Set(bool value);

  bool modified_ = false;
  TChangeEvent onChange_;
};
