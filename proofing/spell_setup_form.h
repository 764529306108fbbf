// TSCSetup: the languages window. Languages and their dictionaries are switched on and off;
// OK applies the choice through the group rule, Default brings back every dictionary's
// on-by-default state, Cancel leaves everything as it was.
#pragma once

#include <vector>

#include "components/data_tree_node.h"
#include "platform/gui/form.h"

class TDataStringTree;
class TQLanguage;
class TQSpell;

class TSCSetup : public TForm {
  QM_CLASS(TSCSetup, TForm)
public:
  explicit TSCSetup(TComponent* Owner);

  // The buttons (Cancel, OK, Default) answer by their modal results 2, 1 and 5 alone.
  TDataStringTree *LngList = nullptr, *DicList = nullptr;

  // Shows the languages and dictionaries of `Spell` modally and applies the answer; answers the
  // modal result.
  int Execute(TQSpell& Spell);
  // Shows the dictionaries of the language at `Index`, storing the check marks shown first.
  void SelectLanguage(int Index);

private:
  void StoreChecks();
  void Apply(int Result);

  TQSpell* FSpell = nullptr;
  int FLanguage = -1;  // the language whose dictionaries DicList shows
};

// The text of a dictionary's state in the languages window: "(description)" when it is ready,
// "Unpacking failed!" when not.
std::string DictionaryStateText(bool Ready, const std::string& Description);
