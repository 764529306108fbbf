// Edits with a button inside their right edge: TCustomComboEdit (the button, its width rules,
// the click key, read-only and direct-input rules), TFileDirEdit (dropped files, the folder
// glyph, events around the dialog) and TFilenameEdit (a file dialog from the button; names with
// blanks kept in double quotes).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "components/ex_speed_button.h"
#include "platform/exceptions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"

class EComboEditError : public Exception { using Exception::Exception; };

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };
enum TFileEditStyle { fsEdit, fsComboBox };

// The button's natural width: with a default glyph the larger of glyph width / NumGlyphs + 6
// and 21; the scroll-bar width for the drop-down kind; 21 otherwise.
int NaturalButtonWidth(TGlyphKind kind, int glyphWidth, int numGlyphs, int scrollBarWidth);
// A name with a blank, not already quoted, wrapped in double quotes.
std::string QuoteFileName(const std::string& name);
// The text as a file name: as it stands when such a file exists, else without its quotes.
std::string UnquoteFileName(const std::string& text, bool (*exists)(const std::string&));

// The small button: a flat speed button with a separator line at its left.
class TEditButton : public TExSpeedButton {
  QM_CLASS(TEditButton, TExSpeedButton)
public:
  explicit TEditButton(TComponent* owner);

protected:
  void Paint() override;
};

class TCustomComboEdit : public TEdit {
  QM_CLASS(TCustomComboEdit, TEdit)
public:
  explicit TCustomComboEdit(TComponent* owner);

  TEditButton* Button() const { return button_; }
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  std::string ButtonHint() const { return button_->Hint(); }
  void SetButtonHint(const std::string& v) { button_->SetHint(v); }
  TGlyphKind GlyphKind() const { return glyphKind_; }
  void SetGlyphKind(TGlyphKind v);
  TBitmap* Glyph() { return button_->Glyph(); }
  void SetGlyph(const TBitmap& bitmap);
  int NumGlyphs() const { return button_->NumGlyphs(); }
  void SetNumGlyphs(int v);
  bool DirectInput() const { return directInput_; }
  void SetDirectInput(bool v);
  bool ComboReadOnly() const { return readOnly_; }
  void SetComboReadOnly(bool v);
  TShortCut ClickKey() const { return clickKey_; }
  void SetClickKey(TShortCut v) { clickKey_ = v; }
  // Only the empty mask is supported; any other raises EComboEditError.
  std::string EditMask() const { return {}; }
  void SetEditMask(const std::string& mask);
  // What a click of the button does (nothing while read-only).
  virtual void DoClick();

  TNotifyEvent OnButtonClick;

protected:
  void InitWidget() override;
  void Resize() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void EnabledChanged() override;
  void WndProc(TMessage& message) override;
  void DoEnter() override;
  // The class's own glyph for gkDefault (none here).
  virtual void DefaultGlyph(TBitmap& bitmap) {}
  virtual void ButtonClick();
  void ApplyGlyphKind();

private:
  void PlaceButton();
  void UpdateEditReadOnly();

  TEditButton* button_ = nullptr;
  int buttonWidth_ = 21;
  TGlyphKind glyphKind_ = gkCustom;
  bool directInput_ = true, readOnly_ = false;
  TShortCut clickKey_ = TShortCut(VK_DOWN | scAlt);
};

using TExecOpenDialogEvent = std::function<void(TObject* Sender, std::string& Name, bool& Action)>;

class TFileDirEdit : public TCustomComboEdit {
  QM_CLASS(TFileDirEdit, TCustomComboEdit)
public:
  explicit TFileDirEdit(TComponent* owner);
  ~TFileDirEdit() override;
  bool AcceptFiles() const { return acceptFiles_; }
  void SetAcceptFiles(bool v);
  // Takes one dropped name.
  virtual void AcceptFile(const std::string& name);
  virtual void ClearFileList() {}
  // Files dropped on the edit (as the shell would).
  void DropFiles(const std::vector<std::string>& files);

  TExecOpenDialogEvent OnBeforeDialog, OnAfterDialog;
  TNotifyEvent OnDropFiles;

protected:
  void DefaultGlyph(TBitmap& bitmap) override;
  void InitWidget() override;

private:
  bool acceptFiles_ = false;
};

class TFilenameEdit : public TFileDirEdit {
  QM_CLASS(TFilenameEdit, TFileDirEdit)
public:
  explicit TFilenameEdit(TComponent* owner);

  // The text as a file name (see UnquoteFileName); setting it quotes names with blanks.
  std::string FileName() const;
  void SetFileName(const std::string& name);
  TFileDialogKind DialogKind() const { return kind_; }
  void SetDialogKind(TFileDialogKind v);
  TOpenDialog* Dialog() const { return dialog_; }
  std::string DefaultExt() const { return dialog_->DefaultExt(); }
  void SetDefaultExt(const std::string& v) { dialog_->SetDefaultExt(v); }
  std::string Filter() const { return dialog_->Filter(); }
  void SetFilter(const std::string& v) { dialog_->SetFilter(v); }
  int FilterIndex() const { return dialog_->FilterIndex(); }
  void SetFilterIndex(int v) { dialog_->SetFilterIndex(v); }
  std::string InitialDir() const { return dialog_->InitialDir(); }
  void SetInitialDir(const std::string& v) { dialog_->SetInitialDir(v); }
  std::vector<std::string> HistoryList() const { return history_; }
  void SetHistoryList(const std::vector<std::string>& v) { history_ = v; }
  TOpenOptions DialogOptions() const { return dialog_->Options(); }
  void SetDialogOptions(TOpenOptions v);
  std::string DialogTitle() const { return dialog_->Title(); }
  void SetDialogTitle(const std::string& v) { dialog_->SetTitle(v); }
  TFileEditStyle FileEditStyle() const { return style_; }
  void SetFileEditStyle(TFileEditStyle v) { style_ = v; }
  // The files taken with ofAllowMultiSelect.
  const std::vector<std::string>& Files() const { return files_; }
  std::string LongName() const;
  std::string ShortName() const;

  void AcceptFile(const std::string& name) override;
  void ClearFileList() override { files_.clear(); }

protected:
  void ButtonClick() override;

private:
  TFileDialogKind kind_ = dkOpen;
  TOpenDialog* dialog_ = nullptr;
  std::vector<std::string> history_, files_;
  TFileEditStyle style_ = fsEdit;
};
