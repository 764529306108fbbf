// TAboutBox: the about box: product, author, the machine's memory, the version and links to the
// maker's web page and mail addresses (opened with the desktop's own programs).
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/form.h"
#include "shell/memory_status.h"

class TLabel;

// "Version 3.7 (Build 019)" in the interface language, as the about box and the splash window
// show it.
std::string ProgramVersionText();

// "#,###" with "," between thousands; 0 gives "".
std::string FormatThousands(uint64_t value);

class TAboutBox : public TForm {
  QM_CLASS(TAboutBox, TForm)
public:
  explicit TAboutBox(TComponent* owner);

  TLabel *PhysMem = nullptr, *FreeRes = nullptr, *LabelVer = nullptr;
  TLabel *LinkWeb = nullptr, *LinkMail = nullptr, *LinkSupport = nullptr, *LinkAuthor = nullptr;

  // Shows the figures of `status`.
  void ShowMemory(const TMemoryStatus& status);

private:
  void FormCreate(TObject* Sender);
  void LinkClick(TObject* Sender);
};
