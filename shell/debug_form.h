// TDebugForm: the correction engine's debug window ("Debug Mode"): a list above a grid, split
// by a bar, a status line and "Continue...", which sets the flag the engine waits for between
// passes.
#pragma once

#include <string>
#include <vector>

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

  // The rule matching of one word, shown modally: a grid column per segment (its text above
  // its variants), the variants built in the list, "Variants: N;" in the status line.
  void ShowRuleDebug(const std::vector<std::vector<std::string>>& Segments, const std::vector<std::string>& Variants,
                     const std::string& Caption);
  // The text of a grid cell; empty outside the columns.
  std::string CellText(int Col, int Row) const;

  // Set by "Continue..."; the engine clears it before it waits.
  bool Continue() const { return continue_; }
  void SetContinue(bool v) { continue_ = v; }

private:
  void BtnContinueClick(TObject* Sender);
  bool continue_ = false;
  std::vector<std::vector<std::string>> columns_;
};
