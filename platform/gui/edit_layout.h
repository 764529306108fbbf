// The text area of a one-line edit: room kept free at its sides for buttons placed inside it,
// and the alignment of its text.
#pragma once

#include "platform/gui/gui_types.h"

class TCustomEdit;

// Keeps `left` and `right` pixels of the edit free of text.
void SetEditTextMargins(TCustomEdit& edit, int left, int right);
// Aligns the edit's text left, right or centred.
void SetEditAlignment(TCustomEdit& edit, TAlignment alignment);
