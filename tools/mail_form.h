// TMailForm: the "Mail Decoder" window. It asks for the delimiters and the kind of the
// character codes (or one of the presets) and shows a sample; the engine (mail_decoder.h)
// decodes.
#pragma once

#include "platform/gui/form.h"
#include "tools/mail_decoder.h"

class TButton;
class TEdit;
class TLabel;
class TListBox;
class TRadioGroup;

class TMailForm : public TForm {
  QM_CLASS(TMailForm, TForm)
public:
  explicit TMailForm(TComponent* owner);
  ~TMailForm() override;

  TEdit *EditPrefix = nullptr, *EditSuffix = nullptr;
  TRadioGroup* RGCode = nullptr;  // 0 hexadecimal, 1 decimal
  TLabel* LabelSample = nullptr;
  TListBox* PresetList = nullptr;  // 0 Custom, 1-4 the presets
  TButton* Button3 = nullptr;      // "Options..."
  // "Options...": the processing options, set by the window that runs the decoder.
  TNotifyEvent OnOptions;

  // The delimiters and the kind of code the controls hold.
  TMailCodes Codes() const;
  // Fills the controls from preset 1-4 (other rows change nothing).
  void ApplyPreset(int index);
  // Decodes `text` with the window's choices; false (out untouched) when stopped.
  bool Execute(std::u16string_view text, std::u16string& out, const TMailStep& step = nullptr) const;

private:
  void FormCreate(TObject* Sender);
  void PresetListClick(TObject* Sender);
  void CodesChange(TObject* Sender);
  void Button3Click(TObject* Sender);
  void UpdateSample();
  bool presetDone_ = false;  // off while a preset fills the controls
};

extern TMailForm* MailForm;
