// The look of combo boxes: flat (no frame of its own; the owner draws a light one) or raised.
#pragma once

class TComboBox;

// Turns the combo box's own frame off (flat) or on.
void SetComboFlat(TComboBox& combo, bool flat);
