#include "platform/gui/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/code_pages.h"
#include "platform/gui/application.h"

namespace {

std::function<bool(const std::string&)>& Handler() {
  static std::function<bool(const std::string&)> handler;
  return handler;
}

}  // namespace

bool ShellOpen(const std::string& target) {
  if (Handler()) return Handler()(target);
  EnsureGuiApplication();
  const QString text = QString::fromStdString(AnsiToUtf8(target));
  return QDesktopServices::openUrl(QUrl::fromUserInput(text));
}

void SetShellOpenHandler(std::function<bool(const std::string&)> handler) { Handler() = std::move(handler); }
