#include "platform/gui/locale_format.h"

#include <QLocale>
#include <QString>

#include "platform/locale.h"

char LocaleDecimalSeparator() {
  const std::string name(LocaleIcuName(ThreadLocale()));
  const QString point = QLocale(QString::fromStdString(name)).decimalPoint();
  return point.size() == 1 && point.at(0).unicode() < 0x80 ? char(point.at(0).unicode()) : '.';
}
