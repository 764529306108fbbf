// The main window made fresh for each test of its operation frame, with helpers to run its
// commands and to act while an operation handles messages.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "shell/main_form.h"
#include "textcore/rich_edit.h"


inline const std::u16string kRussian = u"Съешь же ещё этих мягких французских булок, да выпей чаю. Ёж!";

// How text in code page `codePage` looks when its bytes are read as Windows-1251.
inline std::u16string Garbled(const std::u16string& text, unsigned codePage) {
  return AnsiToWide(WideToAnsi(text, codePage), 1251);
}

class OperationTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    form = new TMainForm(Application);
  }
  void TearDown() override {
    SetProgressMessagePump(nullptr);
    TComponent::Free(form);  // its OnDestroy runs while the window is whole
  }
  void SetText(const std::u16string& text) {
    form->Editor->SetTextW(text);
    form->ResetDocument();
  }
  std::u16string Text() const { return form->Editor->GetTextW(); }
  // Runs a command as its menu item or button does.
  void Click(const char* name) { form->ConvFwdButtonClick(form->FindComponent(name)); }
  std::string ModifiedPanel() const { return form->StatusBar->Panels()->Items(3)->Text(); }
  // Messages handled during the operation run `f` (the user acting meanwhile).
  void WhilePumping(std::function<void()> f) {
    SetProgressMessagePump([this, f] {
      if (form->Busy()) f();
    });
  }

  TMainForm* form = nullptr;
};
