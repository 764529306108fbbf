#include "platform/gui/font_families.h"

#include <QFontDatabase>

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"

std::string PlainFamilyName(const std::string& name) {
  if (name.size() < 4 || name.back() != ']') return name;
  const size_t open = name.rfind(" [");
  return open == std::string::npos || open == 0 ? name : name.substr(0, open);
}

std::vector<TFontFamily> InstalledFontFamilies() {
  EnsureGuiApplication();
  std::vector<TFontFamily> families;
  for (const QString& family : QFontDatabase::families()) {
    const bool outline = QFontDatabase::isSmoothlyScalable(family);
    families.push_back({PlainFamilyName(FromQ(family)), outline ? ftTrueType : ftRaster});
  }
  // A family made by several foundries is one entry, an outline one when any of them is.
  std::stable_sort(families.begin(), families.end(), [](const TFontFamily& a, const TFontFamily& b) {
    return a.Name != b.Name ? a.Name < b.Name : a.Type < b.Type;
  });
  families.erase(std::unique(families.begin(), families.end(),
                             [](const TFontFamily& a, const TFontFamily& b) { return a.Name == b.Name; }),
                 families.end());
  return families;
}
