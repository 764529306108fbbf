// The desktop's notification area (system tray): one icon with a tool tip whose mouse
// activations the owner hears about. On desktops without a tray Available() is false and Show
// fails, so that callers can keep their window instead of hiding it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/gui_types.h"

class TBitmap;

enum class TTrayActivation { Trigger, DoubleClick, MiddleClick, Context };

class TTrayBackend {
public:
  virtual ~TTrayBackend() = default;
  virtual bool Available() const = 0;
  // Puts the icon into the tray; false when there is no tray.
  virtual bool Show() = 0;
  virtual void Hide() = 0;
  virtual void SetIcon(const TBitmap& image) = 0;
  virtual void SetToolTip(const std::string& text) = 0;

  std::function<void(TTrayActivation)> OnActivated;
};

// The mouse cursor's place on the screen.
TPoint CursorPos();
// The tray of the desktop the program runs on.
std::unique_ptr<TTrayBackend> CreateSystemTray();
