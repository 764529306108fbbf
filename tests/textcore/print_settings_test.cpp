// The printer's page settings in the registry: defaults per unit and a round trip.
#include <gtest/gtest.h>

#include "tests/platform/temp_folder.h"
#include "textcore/print_settings.h"
#include "textcore/win_registry.h"

namespace {

const std::string Key = "Software\\Vortanel\\Other";

TEST(PrintSettings, DefaultsFollowTheUnitAndValuesRoundTrip) {
  TempFolder folder;
  ScopedEnv config("QUILLOMARK_CONFIG_DIR", folder.Name());
  TPrintSettings s = LoadPrintSettings(Key);
  EXPECT_EQ(s.measurementUnits, 0);
  EXPECT_EQ(s.leftMargin, 25);
  EXPECT_EQ(s.bottomMargin, 25);
  EXPECT_EQ(s.orientation, 0);

  TWinRegistry(Key).WriteInteger("Printing", "MeasurementUnits", 1);
  s = LoadPrintSettings(Key);
  EXPECT_EQ(s.topMargin, 1);
  EXPECT_DOUBLE_EQ(s.Millimetres(s.topMargin), 25.4);

  s.measurementUnits = 0;
  s.leftMargin = 20;
  s.rightMargin = 12.5;
  s.orientation = 1;
  SavePrintSettings(Key, s);
  const TPrintSettings back = LoadPrintSettings(Key);
  EXPECT_EQ(back.measurementUnits, 0);
  EXPECT_EQ(back.leftMargin, 20);
  EXPECT_EQ(back.rightMargin, 12.5);
  EXPECT_EQ(back.orientation, 1);
  EXPECT_EQ(TWinRegistry(Key).ReadFloat("Printing", "LeftMargin", 0), 20);
}

}  // namespace
