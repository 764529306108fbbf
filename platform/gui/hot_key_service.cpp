#include "platform/gui/hot_key_service.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/x11_hotkeys.h"

namespace {

// The keys grabbed on the X11 display the program shows on; presses arrive through the
// connection's descriptor.
class TX11HotKeyService : public THotKeyService {
public:
  explicit TX11HotKeyService(std::unique_ptr<TX11HotKeys> keys)
      : keys_(std::move(keys)), notifier_(keys_->FileDescriptor(), QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { Deliver(); });
  }

  bool Register(int id, uint16_t key, unsigned modifiers) override {
    const bool done = keys_->Register(id, key, modifiers);
    // Waiting for the server's answer may have read presses off the connection already.
    QTimer::singleShot(0, &notifier_, [this] { Deliver(); });
    return done;
  }

  void Unregister(int id) override { keys_->Unregister(id); }

private:
  void Deliver() {
    for (int id : keys_->TakePressed(0))
      if (OnPressed) GuardedCall([&] { OnPressed(id); });
  }

  std::unique_ptr<TX11HotKeys> keys_;
  QSocketNotifier notifier_;
};

}  // namespace

std::unique_ptr<THotKeyService> OpenDesktopHotKeys(std::string* why) {
  EnsureGuiApplication();
  if (QGuiApplication::platformName() != "xcb") {
    if (why) *why = "system-wide hot keys need an X11 display (the program shows on \"" +
                    QGuiApplication::platformName().toStdString() + "\")";
    return nullptr;
  }
  std::unique_ptr<TX11HotKeys> keys = TX11HotKeys::Open("", why);
  if (!keys) return nullptr;
  return std::make_unique<TX11HotKeyService>(std::move(keys));
}
