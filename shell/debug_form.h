// TDebugForm: the correction engine's debug window ("Debug Mode"): a list above a grid, split
// by a bar, a status line and "Continue...", which sets the flag the engine waits for between
// passes.
#pragma once

#include "platform/gui/form.h"

class TAdvSplitter;
class TButton;
class TDrawGrid;
class TLabel;
class TListBox;

class TDebugForm : public TForm {
  QM_CLASS(TDebugForm, TForm)
public:
  explicit TDebugForm(TComponent* owner);

  TAdvSplitter* Splitter = nullptr;
  TListBox* List = nullptr;
  TDrawGrid* Grid = nullptr;
  TLabel* Status = nullptr;
  TButton* BtnContinue = nullptr;

  // Set by "Continue..."; the engine clears it before it waits.
  bool Continue() const { return continue_; }
  void SetContinue(bool v) { continue_ = v; }

private:
  void BtnContinueClick(TObject* Sender);
  bool continue_ = false;
};
