#include "platform/gui/clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QGuiApplication>
#include <QMimeData>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"

namespace {

struct Registry {
  std::map<std::string, unsigned> byName;
  std::map<unsigned, std::string> byNumber;
  unsigned next = 0xC000;
};

Registry& Formats() {
  static Registry r;
  return r;
}

// The MIME type a format travels as. Rich text goes as the type other programs read; other
// registered formats use Qt's convention for named Windows formats.
QString MimeOf(unsigned format) {
  if (format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT) return "text/plain";
  std::string name = GetClipboardFormatName(format);
  if (name.empty()) return {};
  if (name == "Rich Text Format") return "text/rtf";
  return "application/x-qt-windows-mime;value=\"" + QString::fromUtf8(name) + "\"";
}

QClipboard* System() {
  EnsureGuiApplication();
  return QGuiApplication::clipboard();
}

QString UnicodeOf(const std::u16string& s) { return QString::fromUtf16(s.data(), qsizetype(s.size())); }

std::u16string FromUnicode(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size()));
}

}  // namespace

unsigned RegisterClipboardFormat(const std::string& name) {
  Registry& r = Formats();
  auto it = r.byName.find(name);
  if (it != r.byName.end()) return it->second;
  unsigned number = r.next++;
  r.byName[name] = number;
  r.byNumber[number] = name;
  return number;
}

std::string GetClipboardFormatName(unsigned format) {
  auto it = Formats().byNumber.find(format);
  return it == Formats().byNumber.end() ? std::string() : it->second;
}

// The content being built between Open and Close.
class TClipboard::TPending {
public:
  QMimeData* data = new QMimeData;
  bool changed = false;
};

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

void TClipboard::Open() {
  if (openCount_++ == 0) pending_ = new TPending;
}

void TClipboard::Close() {
  if (openCount_ == 0 || --openCount_ > 0) return;
  TPending* pending = pending_;
  pending_ = nullptr;
  if (pending->changed) {
    writing_ = true;  // change listeners run now for the program's own write
    System()->setMimeData(pending->data);
    writing_ = false;
  } else {
    delete pending->data;
  }
  delete pending;
}

void TClipboard::Clear() {
  if (pending_) {
    pending_->data->clear();
    pending_->changed = true;
  } else {
    System()->clear();
  }
}

namespace {

const QMimeData* Current(const QMimeData* pending) {
  if (pending) return pending;
  return System()->mimeData();
}

}  // namespace

bool TClipboard::HasFormat(unsigned format) const {
  const QMimeData* data = Current(pending_ && pending_->changed ? pending_->data : nullptr);
  if (!data) return false;
  if (format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT) return data->hasText();
  QString mime = MimeOf(format);
  return !mime.isEmpty() && data->hasFormat(mime);
}

std::vector<unsigned> TClipboard::Formats() const {
  std::vector<unsigned> out;
  const QMimeData* data = Current(pending_ && pending_->changed ? pending_->data : nullptr);
  if (!data) return out;
  if (data->hasText()) out.insert(out.end(), {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT});
  for (const auto& [number, name] : ::Formats().byNumber)
    if (data->hasFormat(MimeOf(number))) out.push_back(number);
  return out;
}

std::string TClipboard::AsText() const { return WideToAnsi(AsUnicodeText()); }

void TClipboard::SetAsText(const std::string& text) { SetAsUnicodeText(AnsiToWide(text)); }

std::u16string TClipboard::AsUnicodeText() const {
  const QMimeData* data = Current(pending_ && pending_->changed ? pending_->data : nullptr);
  return data && data->hasText() ? FromUnicode(data->text()) : std::u16string();
}

void TClipboard::SetAsUnicodeText(const std::u16string& text) {
  Open();
  if (!pending_->changed) pending_->data->clear();
  pending_->data->setText(UnicodeOf(text));
  pending_->changed = true;
  Close();
}

std::string TClipboard::GetAsBytes(unsigned format) const {
  if (format == CF_TEXT) return AsText();
  if (format == CF_OEMTEXT) return WideToAnsi(AsUnicodeText(), CP_OEMCP);
  if (format == CF_UNICODETEXT) {
    std::u16string s = AsUnicodeText();
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2);
  }
  const QMimeData* data = Current(pending_ && pending_->changed ? pending_->data : nullptr);
  QString mime = MimeOf(format);
  if (!data || mime.isEmpty() || !data->hasFormat(mime)) return {};
  QByteArray bytes = data->data(mime);
  return std::string(bytes.constData(), size_t(bytes.size()));
}

void TClipboard::SetAsBytes(unsigned format, const std::string& bytes) {
  if (format == CF_TEXT) return SetAsText(bytes);
  if (format == CF_OEMTEXT) return SetAsUnicodeText(AnsiToWide(bytes, CP_OEMCP));
  if (format == CF_UNICODETEXT)
    return SetAsUnicodeText(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2));
  QString mime = MimeOf(format);
  if (mime.isEmpty()) return;
  Open();
  if (!pending_->changed) pending_->data->clear();
  pending_->data->setData(mime, QByteArray(bytes.data(), qsizetype(bytes.size())));
  pending_->changed = true;
  Close();
}

namespace {

// Qt's own name for a picture held as an image; it is kept as PNG bytes instead.
const QString kQtImage = "application/x-qt-image";
const QString kPng = "image/png";

}  // namespace

void TClipboard::CatchUp() {
  // An X11 program takes a selection only with a time later than its owner took it at, and Qt
  // uses the time of the last event it had: a property change on one of its windows brings it
  // the server's time.
  EnsureGuiApplication();
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || QGuiApplication::platformName() != "xcb" || !x11->connection()) return;
  QWindow* window = nullptr;
  for (QWindow* w : QGuiApplication::topLevelWindows())
    if (w->handle()) window = w;
  if (!window) return;
  xcb_connection_t* c = x11->connection();
  static const xcb_atom_t property = [c] {
    const char* name = "_QUILLOMARK_TIME";
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
  }();
  if (property == XCB_ATOM_NONE) return;
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), property, XCB_ATOM_STRING, 8, 0, nullptr);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(2);
  }
}

TClipboardContents TClipboard::SaveContents() const {
  TClipboardContents contents;
  const QMimeData* data = Current(pending_ && pending_->changed ? pending_->data : nullptr);
  if (!data) return contents;
  const QStringList formats = data->formats();
  for (const QString& format : formats) {
    if (format == kQtImage) continue;
    const QByteArray bytes = data->data(format);
    contents.Formats.emplace_back(format.toStdString(), std::string(bytes.constData(), size_t(bytes.size())));
  }
  if (data->hasImage() && !formats.contains(kPng)) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    qvariant_cast<QImage>(data->imageData()).save(&buffer, "PNG");
    contents.Formats.emplace_back(kPng.toStdString(), std::string(png.constData(), size_t(png.size())));
  }
  return contents;
}

void TClipboard::RestoreContents(const TClipboardContents& contents) {
  if (contents.Empty()) return Clear();
  Open();
  pending_->data->clear();
  for (const auto& [format, bytes] : contents.Formats) {
    const QByteArray raw(bytes.data(), qsizetype(bytes.size()));
    const QString name = QString::fromStdString(format);
    // A picture is offered as an image too, in every format the desktop asks for.
    if (name == kPng) pending_->data->setImageData(QImage::fromData(raw, "PNG"));
    pending_->data->setData(name, raw);
  }
  pending_->changed = true;
  Close();
}

namespace {

std::map<int, QMetaObject::Connection>& Listeners() {
  static std::map<int, QMetaObject::Connection> listeners;
  return listeners;
}

}  // namespace

int TClipboard::AddChangeListener(std::function<void()> listener) {
  static int nextId = 1;
  int id = nextId++;
  Listeners()[id] = QObject::connect(System(), &QClipboard::dataChanged, [listener] { GuardedCall(listener); });
  return id;
}

void TClipboard::RemoveChangeListener(int id) {
  auto it = Listeners().find(id);
  if (it == Listeners().end()) return;
  QObject::disconnect(it->second);
  Listeners().erase(it);
}

QString ClipboardMimeOf(unsigned format) { return MimeOf(format); }
