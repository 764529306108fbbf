#include "shell/splash_form.h"

#include "platform/gui/std_controls.h"
#include "shell/about_box.h"
#include "shell/preferences.h"

QM_CLASS_INFO(TSplashForm, TForm, [](TClassBuilder<TSplashForm>&) {})

TSplashForm::TSplashForm(TComponent* owner) : TForm(owner) {
  Field("LabelVer", LabelVer);
  ReadForm();
  LabelVer->SetCaption(ProgramVersionText());
}

std::unique_ptr<TSplashForm> ShowSplashWhenWanted() {
  if (PrefForm && PrefForm->CBNoSplash->Checked()) return nullptr;
  auto splash = std::make_unique<TSplashForm>(nullptr);
  splash->Show();
  splash->Repaint();
  return splash;
}
