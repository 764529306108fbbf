#include "platform/gui/read_watch.h"

#include <QSocketNotifier>

#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"

TReadWatch::TReadWatch(int fd, std::function<void()> onReadable) {
  EnsureGuiApplication();
  notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [handler = std::move(onReadable)] { GuardedCall(handler); });
}

TReadWatch::~TReadWatch() = default;

void TReadWatch::SetEnabled(bool enabled) { notifier_->setEnabled(enabled); }
