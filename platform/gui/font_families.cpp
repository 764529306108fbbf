#include "platform/gui/font_families.h"

#include <QFontDatabase>

#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"

std::vector<TFontFamily> InstalledFontFamilies() {
  EnsureGuiApplication();
  std::vector<TFontFamily> families;
  for (const QString& family : QFontDatabase::families()) {
    const bool outline = QFontDatabase::isSmoothlyScalable(family);
    families.push_back({FromQ(family), outline ? ftTrueType : ftRaster});
  }
  return families;
}
