#include "platform/gui/wide_edit.h"

#include <QLineEdit>

#include "platform/gui/qt_bridge.h"

namespace {
QString ToQString(const std::u16string& text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}
std::u16string FromQString(const QString& text) { return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())); }
}  // namespace

TWideEdit::TWideEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }
TWideEdit::~TWideEdit() { DestroyWidget(); }

QWidget* TWideEdit::CreateWidget(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setText(ToQString(text_));
  QObject::connect(e, &QLineEdit::textChanged, [this](const QString& s) {
    if (syncing_) return;
    GuardedCall([&] {
      text_ = FromQString(s);
      modified_ = true;
      if (OnChange) OnChange(this);
    });
  });
  return e;
}

std::u16string TWideEdit::WideText() const { return text_; }

void TWideEdit::SetWideText(const std::u16string& text) {
  text_ = text;
  modified_ = false;
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) {
    syncing_ = true;
    e->setText(ToQString(text));
    syncing_ = false;
  }
}

void TWideEdit::SelectAll() {
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) e->selectAll();
}

int TWideEdit::CursorPosition() const {
  auto* e = static_cast<QLineEdit*>(ExistingWidget());
  return e ? e->cursorPosition() : 0;
}

void TWideEdit::SetCursorPosition(int position) {
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) e->setCursorPosition(position);
}

QM_CLASS_INFO(TWideEdit, TWinControl, [](TClassBuilder<TWideEdit>&) {})
