// Window placement of forms: the normal (restored) rectangle whatever the window state, the
// screens' rectangles and the size limits a form can be given. Rectangles are of the same kind
// as a form's bounds (Left/Top the outer corner, Width/Height the client size), so that a
// rectangle read here and set back through SetBounds puts the window where it was.
#pragma once

#include <vector>

#include "platform/gui/gui_types.h"

class TCustomForm;

// The form's rectangle in the normal state (its bounds when it is neither minimised nor
// maximised).
TRect NormalFormBounds(TCustomForm& form);
// The rectangles of every connected screen.
std::vector<TRect> MonitorRects();
// Limits of the form's client size (0: no limit); equal limits on both sides fix the size and
// take the maximise button away.
void SetFormSizeLimits(TCustomForm& form, int minWidth, int minHeight, int maxWidth, int maxHeight);
