#include "tools/mail_form.h"

#include <vector>

#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "textcore/locale_text.h"

TMailForm* MailForm = nullptr;

QM_CLASS_INFO(TMailForm, TForm, [](TClassBuilder<TMailForm>&) {})

namespace {

constexpr unsigned kEditCodePage = 1251;

struct TPreset {
  const char *Prefix, *Suffix;
  int Code;
};
constexpr TPreset kPresets[] = {{"=", "", 0}, {"%", "", 0}, {"\\'", "", 0}, {"&#", ";", 1}};

}  // namespace

TMailForm::TMailForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TMailForm::FormCreate);
  Handler("PresetListClick", &TMailForm::PresetListClick);
  Handler("CodesChange", &TMailForm::CodesChange);
  Handler("Button3Click", &TMailForm::Button3Click);
  Field("EditPrefix", EditPrefix);
  Field("EditSuffix", EditSuffix);
  Field("RGCode", RGCode);
  Field("LabelSample", LabelSample);
  Field("PresetList", PresetList);
  Field("Button3", Button3);
  ReadForm();
}

TMailForm::~TMailForm() {
  if (MailForm == this) MailForm = nullptr;
}

void TMailForm::FormCreate(TObject*) {
  MailForm = this;
  // A key press that moves the choice acts as a click.
  PresetList->OnKeyUp = [this](TObject* sender, uint16_t&, TShiftState) { PresetListClick(sender); };
  presetDone_ = true;
  UpdateSample();
}

TMailCodes TMailForm::Codes() const {
  return {AnsiToWideString(EditPrefix->Text(), kEditCodePage), AnsiToWideString(EditSuffix->Text(), kEditCodePage),
          RGCode->ItemIndex() == 1};
}

void TMailForm::ApplyPreset(int index) {
  if (index < 1 || index > int(std::size(kPresets))) return;
  const TPreset& preset = kPresets[index - 1];
  presetDone_ = false;
  EditPrefix->SetText(preset.Prefix);
  EditSuffix->SetText(preset.Suffix);
  RGCode->SetItemIndex(preset.Code);
  presetDone_ = true;
  UpdateSample();
}

void TMailForm::PresetListClick(TObject*) { ApplyPreset(PresetList->ItemIndex()); }

void TMailForm::CodesChange(TObject*) {
  if (!presetDone_ || !LabelSample) return;
  PresetList->SetItemIndex(0);
  UpdateSample();
}

void TMailForm::UpdateSample() {
  const std::string prefix = EditPrefix->Text(), suffix = EditSuffix->Text();
  const bool decimal = RGCode->ItemIndex() == 1;
  static const std::vector<std::string> hexSample = {"CF", "F0", "E8", "E2"}, decimalSample = {"1067", "1072", "1074"};
  std::string sample;
  for (const std::string& code : decimal ? decimalSample : hexSample) sample += prefix + code + suffix;
  LabelSample->SetCaption(sample);
}

void TMailForm::Button3Click(TObject* Sender) {
  if (OnOptions) OnOptions(Sender);
}

bool TMailForm::Execute(std::u16string_view text, std::u16string& out, const TMailStep& step) const {
  return DecodeMailCodes(text, Codes(), out, step);
}
