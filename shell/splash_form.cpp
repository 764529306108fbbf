#include "shell/splash_form.h"

#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "shell/about_box.h"
#include "shell/preferences.h"

QM_CLASS_INFO(TSplashForm, TForm, [](TClassBuilder<TSplashForm>&) {})

TSplashForm::TSplashForm(TComponent* owner) : TForm(owner) {
  Field("Logo", Logo);
  Field("LabelVer", LabelVer);
  ReadForm();
  if (const TBitmap* icon = Application->Icon()) Logo->Picture()->Assign(*icon);
  LabelVer->SetCaption(ProgramVersionText());
}

std::unique_ptr<TSplashForm> ShowSplashWhenWanted() {
  if (PrefForm && PrefForm->CBNoSplash->Checked()) return nullptr;
  auto splash = std::make_unique<TSplashForm>(nullptr);
  splash->Show();
  splash->Repaint();
  return splash;
}
