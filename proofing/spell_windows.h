// TSpellWindows: the windows of the spelling component, made once and owned by the
// application: the correction popup, the finding window, the start and options windows. The component
// asks its questions through them.
#pragma once

#include <functional>

#include "platform/gui/component.h"
#include "platform/gui/gui_types.h"
#include "proofing/spell_interfaces.h"

class TSCMessage;
class TSCOptions;
class TSCPopup;
class TSCStart;

class TSpellWindows : public TComponent, public ISpellWindows {
  QM_CLASS(TSpellWindows, TComponent)
public:
  explicit TSpellWindows(TComponent* Owner);

  TSCPopup* Popup = nullptr;
  TSCMessage* Message = nullptr;
  TSCStart* Start = nullptr;
  TSCOptions* Options = nullptr;

  // The options window, modal (also from the start window's "Settings..."); true for OK.
  bool ShowOptions();

  // The screen point of a text position of the editor being checked; the popup and the
  // finding window are placed near it when set.
  std::function<TPoint(int Position)> PointOf;

  bool AskStart(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope) override;
  TPopupAnswer AskWord(TWordQuestion& Question) override;
  TFindingAnswer AskFinding(TWordClass Kind, int Start, int Length) override;
  void ShowAddWords(const std::string& Text, LCID Lcid, bool Modal) override;
  void ProcessMessages() override;
};
