// The printer's page settings kept under the program's key, section "Printing".
#pragma once

#include <string>

// Margins are in the measurement unit: millimetres (0) or inches (1).
struct TPrintSettings {
  int measurementUnits = 0;
  double leftMargin = 25, topMargin = 25, rightMargin = 25, bottomMargin = 25;
  int orientation = 0;  // 0 portrait, 1 landscape
  int paperWidth = 0, paperHeight = 0;  // hundredths of millimetres, upright; 0: the printer's own
  // A margin in millimetres, whatever the unit.
  double Millimetres(double margin) const { return measurementUnits == 1 ? margin * 25.4 : margin; }
};

// Reads the settings; an absent margin is 25 mm, or 1 inch when the unit is inches.
TPrintSettings LoadPrintSettings(const std::string& key);
void SavePrintSettings(const std::string& key, const TPrintSettings& settings);
