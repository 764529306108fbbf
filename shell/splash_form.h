// TSplashForm: the window shown while the program makes its windows at start-up.
#pragma once

#include <memory>

#include "platform/gui/form.h"

class TImage;
class TLabel;

class TSplashForm : public TForm {
  QM_CLASS(TSplashForm, TForm)
public:
  explicit TSplashForm(TComponent* owner);
  TImage* Logo = nullptr;      // the program's icon
  TLabel* LabelVer = nullptr;  // the program's version
};

// Made and shown at once unless the preferences window says no splash ("CBNoSplash").
std::unique_ptr<TSplashForm> ShowSplashWhenWanted();
