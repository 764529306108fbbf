// Drag and drop of data in clipboard formats (format number -> bytes) between controls and
// programs: starting a drag, and letting a control's window take drops.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/gui/gui_types.h"

class TControl;
class TBitmap;

inline constexpr unsigned DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4;
using TDragFormats = std::map<unsigned, std::string>;

// Drags `data` from `source` until the user drops or cancels; answers the effect taken. An
// image (its transparent colour left out) follows the mouse with `hotSpot` under it.
unsigned DoDataDrag(TControl& source, const TDragFormats& data, unsigned allowedEffects,
                    const TBitmap* image = nullptr, TPoint hotSpot = {});

// A drag over a drop target: the point in the control's coordinates, keys, offered formats.
struct TDataDropInfo {
  TPoint Point;
  TShiftState Shift = 0;
  std::vector<unsigned> Formats;
  unsigned Allowed = 0;
  // The bytes of a format (empty when not offered).
  std::function<std::string(unsigned)> Data;
};

class TDataDropTarget {
public:
  virtual ~TDataDropTarget() = default;
  // Answers the effect the drop would have (DROPEFFECT_NONE refuses).
  virtual unsigned DataDragOver(const TDataDropInfo& Info, bool Entering) = 0;
  virtual void DataDragLeave() = 0;
  virtual unsigned DataDrop(const TDataDropInfo& Info) = 0;
};

// Lets the control's window (and its inner windows) take drops; nullptr stops it.
void RegisterDataDropTarget(TControl& control, TDataDropTarget* target);
