#include "tools/auto_form.h"

#include "platform/code_pages.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"

TAutoForm* AutoForm = nullptr;

namespace {

constexpr unsigned kSampleCodePage = 1251;
constexpr int kVariantHeight = 316, kFailHeight = 178, kSampleHeight = 133;

}  // namespace

QM_CLASS_INFO(TAutoForm, TForm, [](TClassBuilder<TAutoForm>&) {})

TAutoForm::TAutoForm(TComponent* owner) : TForm(owner) {
  Field("BtnStop", BtnStop);
  Field("BtnContinue", BtnContinue);
  Field("GroupBox1", GroupBox1);
  Field("Label1", Label1);
  Field("SampleText", SampleText);
  ReadForm();
}

TAutoForm::~TAutoForm() {
  if (AutoForm == this) AutoForm = nullptr;
}

void TAutoForm::ShowVariant(const std::string& message, std::string_view sample) {
  BtnContinue->SetEnabled(true);
  Label1->SetCaption(message);
  SampleText->SetTextW(AnsiToWide(sample, kSampleCodePage));
  SampleText->SetHeight(kSampleHeight);
  SampleText->SetVisible(true);
  SetHeight(kVariantHeight);
}

void TAutoForm::ShowFail(const std::string& message, bool canContinue) {
  BtnContinue->SetEnabled(canContinue);
  Label1->SetCaption(message);
  SampleText->SetVisible(false);
  SampleText->SetHeight(1);
  SetHeight(kFailHeight);
}
