#include "platform/gui/system_tray.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "platform/gui/application.h"
#include "platform/gui/graphics.h"
#include "platform/gui/qt_bridge.h"

namespace {

class QtTray : public TTrayBackend {
public:
  QtTray() {
    EnsureGuiApplication();
    QObject::connect(&icon_, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
      if (!OnActivated) return;
      GuardedCall([&] {
        switch (reason) {
          case QSystemTrayIcon::Trigger: OnActivated(TTrayActivation::Trigger); break;
          case QSystemTrayIcon::DoubleClick: OnActivated(TTrayActivation::DoubleClick); break;
          case QSystemTrayIcon::MiddleClick: OnActivated(TTrayActivation::MiddleClick); break;
          case QSystemTrayIcon::Context: OnActivated(TTrayActivation::Context); break;
          default: break;
        }
      });
    });
  }
  bool Available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
  bool Show() override {
    if (!Available()) return false;
    icon_.show();
    return icon_.isVisible();
  }
  void Hide() override { icon_.hide(); }
  void SetIcon(const TBitmap& image) override { icon_.setIcon(QIcon(QPixmap::fromImage(image.Image()))); }
  void SetToolTip(const std::string& text) override { icon_.setToolTip(ToQ(text)); }

private:
  QSystemTrayIcon icon_;
};

}  // namespace

TPoint CursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

std::unique_ptr<TTrayBackend> CreateSystemTray() { return std::make_unique<QtTray>(); }
