#include "textcore/print_settings.h"

#include "textcore/win_registry.h"

namespace {
constexpr char Section[] = "Printing";
}

TPrintSettings LoadPrintSettings(const std::string& key) {
  TWinRegistry reg(key);
  TPrintSettings s;
  s.measurementUnits = reg.ReadInteger(Section, "MeasurementUnits", 0) == 1 ? 1 : 0;
  const double fallback = s.measurementUnits == 1 ? 1.0 : 25.0;
  s.leftMargin = reg.ReadFloat(Section, "LeftMargin", fallback);
  s.topMargin = reg.ReadFloat(Section, "TopMargin", fallback);
  s.bottomMargin = reg.ReadFloat(Section, "BottomMargin", fallback);
  s.rightMargin = reg.ReadFloat(Section, "RightMargin", fallback);
  s.orientation = reg.ReadInteger(Section, "Orientation", 0) == 1 ? 1 : 0;
  // A paper of 1 to 200 cm a side, both sides or neither.
  const int width = reg.ReadInteger(Section, "PaperWidth", 0), height = reg.ReadInteger(Section, "PaperHeight", 0);
  if (width >= 1000 && width <= 200000 && height >= 1000 && height <= 200000) {
    s.paperWidth = width;
    s.paperHeight = height;
  }
  return s;
}

void SavePrintSettings(const std::string& key, const TPrintSettings& s) {
  TWinRegistry reg(key);
  reg.WriteInteger(Section, "MeasurementUnits", s.measurementUnits);
  reg.WriteFloat(Section, "LeftMargin", s.leftMargin);
  reg.WriteFloat(Section, "TopMargin", s.topMargin);
  reg.WriteFloat(Section, "BottomMargin", s.bottomMargin);
  reg.WriteFloat(Section, "RightMargin", s.rightMargin);
  reg.WriteInteger(Section, "Orientation", s.orientation);
  reg.WriteInteger(Section, "PaperWidth", s.paperWidth);
  reg.WriteInteger(Section, "PaperHeight", s.paperHeight);
}
