#include "platform/gui/drop_files.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "platform/gui/control.h"
#include "platform/gui/qt_bridge.h"

namespace {

std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files.push_back(FromQ(url.toLocalFile()));
  return files;
}

// Watches the application's drag events for the widgets of one control; dies with the control
// (it is owned by the link component below, which the control owns).
class TFileDropFilter : public QObject {
public:
  TFileDropFilter(TWinControl* control, TDropFilesEvent onDrop) : control_(control), onDrop_(std::move(onDrop)) {
    qApp->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    QWidget* root = control_->ExistingWidget();
    auto* target = qobject_cast<QWidget*>(watched);
    if (!root || !target || (target != root && !root->isAncestorOf(target))) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const std::vector<std::string> files = LocalFiles(drop->mimeData());
    if (files.empty()) return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop) GuardedCall([&] { onDrop_(files); });
    return true;
  }

private:
  TWinControl* control_;
  TDropFilesEvent onDrop_;
};

class TFileDropLink : public TComponent {
public:
  TFileDropLink(TWinControl* control, TDropFilesEvent onDrop)
      : TComponent(control), filter_(control, std::move(onDrop)) {}

private:
  TFileDropFilter filter_;
};

}  // namespace

void DragAcceptFiles(TWinControl* control, TDropFilesEvent onDrop) {
  for (int i = control->ComponentCount() - 1; i >= 0; --i)
    if (dynamic_cast<TFileDropLink*>(control->Components(i))) delete control->Components(i);
  if (!onDrop) return;
  control->Widget()->setAcceptDrops(true);
  new TFileDropLink(control, std::move(onDrop));
}
