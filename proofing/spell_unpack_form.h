// TSCUnpack: "Unpacking Dictionary", the steps of unpacking a packed dictionary at start-up,
// the free space, and the questions and errors of the unpacking.
#pragma once

#include <array>

#include "platform/gui/form.h"
#include "proofing/dictionary.h"

class TCheckBox;
class TLabel;

class TSCUnpack : public TForm, public IUnpackView {
  QM_CLASS(TSCUnpack, TForm)
public:
  explicit TSCUnpack(TComponent* Owner);

  TLabel *Label1 = nullptr, *LabelDic = nullptr, *Label2 = nullptr;
  std::array<TCheckBox*, 5> Steps{};  // "Reading packed file" ... "Deleting temporary files"

  void BeginUnpack(const std::string& DictionaryLabel) override;
  void CheckStep(int Step) override;
  void ShowFreeSpace(const std::string& Text) override;
  // An error box with Abort, Retry and Ignore.
  TLowSpaceAnswer AskLowSpace(const std::string& Message) override;
  void ShowError(const std::string& Message) override;
};
