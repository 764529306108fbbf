// The control's text as a document of the model and back, its objects, and pastes.
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/rich_edit_formats.h"
#include "platform/gui/rich_edit_private.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

using rich_edit::FromQt;
using rich_edit::ToQt;

namespace {

// What the window shows for an object: its picture, else a framed box of its size.
QImage ObjectImage(const TRichObject& object) {
  QImage image;
  if (object.HasPicture) {
    const char* format = nullptr;
    switch (object.Picture.Format) {
      case TPictureFormat::Png: format = "PNG"; break;
      case TPictureFormat::Jpeg: format = "JPG"; break;
      default: break;
    }
    if (format) image.loadFromData(reinterpret_cast<const uchar*>(object.Picture.Bytes.data()),
                                   int(object.Picture.Bytes.size()), format);
  }
  if (!image.isNull()) return image;
  if (!object.HasPicture && object.Kind != TRichObjectKind::Picture) {
    // A file shown as an icon: the icon of its type (a link's by its file, an embedded file's
    // the icon of files).
    QFileIconProvider icons;
    const QIcon icon = object.Kind == TRichObjectKind::Link
                           ? icons.icon(QFileInfo(QString::fromStdString(object.ObjectData)))
                           : icons.icon(QAbstractFileIconProvider::File);
    const QPixmap pixmap = icon.pixmap(32, 32);
    if (!pixmap.isNull()) return pixmap.toImage();
  }
  int w = object.HasPicture ? object.Picture.GoalWidth : object.Width;
  int h = object.HasPicture ? object.Picture.GoalHeight : object.Height;
  w = w > 0 ? int(rich_edit::TwipsToPixels(w)) : 32;
  h = h > 0 ? int(rich_edit::TwipsToPixels(h)) : 32;
  image = QImage(std::clamp(w, 4, 2000), std::clamp(h, 4, 2000), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::gray);
  p.drawRect(0, 0, image.width() - 1, image.height() - 1);
  return image;
}

// The size at which a picture is shown, pixels.
QSizeF ShownSize(const TRichObject& object, const QImage& image) {
  const TRichPicture& pic = object.Picture;
  double w = pic.GoalWidth > 0 ? rich_edit::TwipsToPixels(pic.GoalWidth) : image.width();
  double h = pic.GoalHeight > 0 ? rich_edit::TwipsToPixels(pic.GoalHeight) : image.height();
  if (!object.HasPicture) {
    if (object.Width > 0) w = rich_edit::TwipsToPixels(object.Width);
    if (object.Height > 0) h = rich_edit::TwipsToPixels(object.Height);
  }
  return {w * pic.ScaleX / 100.0, h * pic.ScaleY / 100.0};
}

}  // namespace

void RichEditControl::Impl::InsertObjectAt(QTextCursor& cursor, const TRichObject& object,
                                           const QTextCharFormat& format) {
  const int id = nextObjectId++;
  objects[id] = object;
  const QImage image = ObjectImage(object);
  const QString name = QStringLiteral("qm-object:%1").arg(id);
  doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
  QTextImageFormat f;
  f.merge(format);
  f.setObjectType(QTextFormat::ImageObject);
  f.setName(name);
  const QSizeF size = ShownSize(object, image);
  f.setWidth(size.width());
  f.setHeight(size.height());
  f.setProperty(rich_edit::ObjectIdProperty, id);
  cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
}

TRichDocument RichEditControl::Document(bool selectionOnly) const {
  TRichDocument result;
  result.Paragraphs.clear();
  int start = 0, end = d->Length();
  if (selectionOnly) {
    const QTextCursor c = d->Cursor();
    start = c.selectionStart();
    end = c.selectionEnd();
  }
  // A document has few distinct formats: each is converted once, by its index in the document.
  std::unordered_map<int, TCharFormat> charFormats;
  std::unordered_map<int, TParaFormat> paraFormats;
  const QList<QTextFormat> formats = d->doc.allFormats();
  const auto charFormat = [&](int index) -> const TCharFormat& {
    auto found = charFormats.find(index);
    if (found == charFormats.end())
      found = charFormats.emplace(index, rich_edit::StoredCharFormat(formats.value(index).toCharFormat(),
                                                                     d->defaultFormat)).first;
    return found->second;
  };
  const QTextBlock first = d->doc.findBlock(start), last = d->doc.findBlock(end);
  const int blocks = (last.isValid() ? last.blockNumber() + 1 : d->doc.blockCount()) - first.blockNumber();
  result.Paragraphs.reserve(size_t(std::max(0, blocks)));
  for (QTextBlock b = first; b.isValid(); b = b.next()) {
    if (b.position() > end) break;
    TRichParagraph para;
    auto paraFormat = paraFormats.find(b.blockFormatIndex());
    if (paraFormat == paraFormats.end())
      paraFormat = paraFormats.emplace(b.blockFormatIndex(), rich_edit::ReadParaFormat(b.blockFormat())).first;
    para.Format = paraFormat->second;
    para.MarkFormat = charFormat(b.charFormatIndex());
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      const int a = std::max(start, fr.position()), z = std::min(end, fr.position() + fr.length());
      if (a >= z) continue;
      const QTextCharFormat qf = fr.charFormat();
      TRichRun run;
      run.Format = charFormat(fr.charFormatIndex());
      const std::u16string text = FromQt(fr.text().mid(a - fr.position(), z - a));
      if (qf.hasProperty(rich_edit::ObjectIdProperty)) {
        // Each object character is a run of its own.
        const auto found = d->objects.find(qf.intProperty(rich_edit::ObjectIdProperty));
        for (char16_t ch : text) {
          TRichRun object = run;
          object.Text = std::u16string(1, ch);
          if (ch == RichObjectChar && found != d->objects.end()) object.Object = found->second;
          para.Runs.push_back(std::move(object));
        }
        continue;
      }
      run.Text = text;
      para.Runs.push_back(std::move(run));
    }
    result.Paragraphs.push_back(std::move(para));
    if (b.position() + b.length() > end) break;
  }
  if (result.Paragraphs.empty()) result.Paragraphs.emplace_back();
  result.Normalize();
  return result;
}

namespace {

// Puts paragraphs of the model at a cursor, one after the other, in one edit block; each
// paragraph's runs are freed once they are in the text.
class DocumentBuilder {
public:
  DocumentBuilder(RichEditControl::Impl& d, QTextCursor& c, bool selectionOnly)
      : d_(d), c_(c), selectionOnly_(selectionOnly) {
    c_.beginEditBlock();
    c_.removeSelectedText();
    firstBlock_ = c_.blockNumber();
  }
  ~DocumentBuilder() {
    if (!finished_) c_.endEditBlock();
  }

  void Add(TRichParagraph& para) {
    if (!lastPara_ || !(*lastPara_ == para.Format)) {
      blockFormat_ = QTextBlockFormat();
      rich_edit::ApplyParaFormat(blockFormat_, para.Format, PFM_ALL2);
      lastPara_ = para.Format;
    }
    const QTextBlockFormat bf = d_.plainText ? QTextBlockFormat() : blockFormat_;
    const QTextCharFormat mark = QtFormat(d_.plainText ? d_.defaultFormat : para.MarkFormat);
    if (added_ > 0) {
      c_.insertBlock(bf, mark);
    } else if (!selectionOnly_) {
      c_.setBlockFormat(bf);
      c_.setBlockCharFormat(mark);
    }
    ++added_;
    for (const TRichRun& run : para.Runs) {
      const QTextCharFormat& f = QtFormat(d_.plainText ? d_.defaultFormat : run.Format);
      if (!run.Object) c_.insertText(rich_edit::ToQt(run.Text), f);
      else if (d_.allowObjects) d_.InsertObjectAt(c_, *run.Object, f);
    }
    std::vector<TRichRun>().swap(para.Runs);  // the text is the control's now
  }

  void Finish() {
    if (!d_.plainText) rich_edit::ShowNumbering(d_.doc, firstBlock_, c_.blockNumber());
    finished_ = true;
    c_.endEditBlock();
  }

private:
  // A document holds few distinct formats, mostly in turn (plain, bold, plain, colour...):
  // each is converted once.
  const QTextCharFormat& QtFormat(const TCharFormat& format) {
    for (const auto& [known, converted] : formats_)
      if (known == format) return converted;
    if (formats_.size() == 64) formats_.pop_back();
    formats_.emplace(formats_.begin(), format, d_.QtFormat(format));
    return formats_.front().second;
  }

  RichEditControl::Impl& d_;
  QTextCursor& c_;
  const bool selectionOnly_;
  int firstBlock_ = 0;
  size_t added_ = 0;
  bool finished_ = false;
  std::vector<std::pair<TCharFormat, QTextCharFormat>> formats_;
  std::optional<TParaFormat> lastPara_;
  QTextBlockFormat blockFormat_;
};

}  // namespace

void RichEditControl::SetDocument(TRichDocument document, bool selectionOnly,
                                  const std::function<void(size_t done, size_t total)>& progress) {
  const size_t total = document.Paragraphs.size();
  auto each = [&](const std::function<void(TRichParagraph&)>& add) {
    for (size_t i = 0; i < total; ++i) {
      if (progress && i > 0 && i % 4096 == 0) progress(i, total);
      add(document.Paragraphs[i]);
    }
  };
  if (!selectionOnly) {
    LoadDocument(each);
    return;
  }
  QTextCursor c = d->Cursor();
  const int start = c.selectionStart();
  try {
    DocumentBuilder builder(*d, c, true);
    each([&](TRichParagraph& para) { builder.Add(para); });
    builder.Finish();
  } catch (...) {
    c.setPosition(start, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    d->SetCursor(c);
    throw;
  }
  d->SetCursor(c);
}

void RichEditControl::LoadDocument(
    const std::function<void(const std::function<void(TRichParagraph& paragraph)>& add)>& produce) {
  // The window lets go of the text meanwhile and lays it out once, as it shows it again; the
  // caret goes to the start before that.
  const bool redraw = d->redraw;
  SetRedraw(false);
  auto clear = [&] {
    d->objects.clear();
    d->quiet = true;  // one change notification for the whole replacement
    d->doc.clear();
    d->quiet = false;
  };
  auto show = [&] {
    d->modified = true;
    d->SetCursor(QTextCursor(&d->doc));
    d->newText = true;
    SetRedraw(redraw);
  };
  try {
    d->WithoutUndo([&] {
      clear();
      QTextCursor c(&d->doc);
      DocumentBuilder builder(*d, c, false);
      produce([&](TRichParagraph& para) { builder.Add(para); });
      builder.Finish();
    });
  } catch (...) {
    clear();
    d->doc.setUndoRedoEnabled(d->undoLimit > 0);
    show();
    throw;
  }
  show();
}

void RichEditControl::InsertObject(const TRichObject& object) {
  QTextCursor c = d->Cursor();
  const QTextCharFormat f = d->InsertFormat(c);
  c.beginEditBlock();
  c.removeSelectedText();
  d->InsertObjectAt(c, object, f);
  c.endEditBlock();
  d->SetCursor(c);
}

namespace {

// Calls `visit(position, id)` for each object character in text order.
template <class F> void ForEachObject(const QTextDocument& doc, F visit) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      if (!fr.charFormat().hasProperty(rich_edit::ObjectIdProperty)) continue;
      const QString text = fr.text();
      for (int i = 0; i < text.size(); ++i)
        if (text[i] == QChar::ObjectReplacementCharacter &&
            !visit(fr.position() + i, fr.charFormat().intProperty(rich_edit::ObjectIdProperty)))
          return;
    }
}

}  // namespace

int RichEditControl::ObjectCount() const {
  int n = 0;
  ForEachObject(d->doc, [&](int, int) { ++n; return true; });
  return n;
}

int RichEditControl::ObjectPosition(int index) const {
  int result = -1;
  ForEachObject(d->doc, [&](int pos, int) {
    if (index-- == 0) { result = pos; return false; }
    return true;
  });
  return result;
}

TRichObject RichEditControl::Object(int index) const {
  TRichObject result;
  ForEachObject(d->doc, [&](int, int id) {
    if (index-- != 0) return true;
    const auto found = d->objects.find(id);
    if (found != d->objects.end()) result = found->second;
    return false;
  });
  return result;
}

QMimeData* RichEditControl::Impl::SelectionMime() const {
  auto* data = new QMimeData;
  const std::u16string text = q.SelText();
  QString plain = QString::fromStdU16String(text);
  plain.replace(QChar(u'\r'), QChar(u'\n')).remove(QChar(RichObjectChar));
  data->setText(plain);
  const std::string rtf = WriteRtf(q.Document(true));
  data->setData(rich_edit::RtfMimeType, QByteArray(rtf.data(), qsizetype(rtf.size())));
  return data;
}

void RichEditControl::Impl::InsertMime(const QMimeData* data) {
  if (!plainText && data->hasFormat(rich_edit::RtfMimeType)) {
    const QByteArray rtf = data->data(rich_edit::RtfMimeType);
    try {
      q.SetDocument(ReadRtf(std::string_view(rtf.constData(), size_t(rtf.size()))), true);
      return;
    } catch (const EConvertError&) {
      // Not RTF after all: the plain text below.
    }
  }
  TRichObject picture;
  if (!data->hasText()) {
    if (allowObjects && !plainText && PictureObject(data, picture)) q.InsertObject(picture);
    return;
  }
  InsertPlain(data->text().toStdU16String());
}

void RichEditControl::Impl::InsertPlain(std::u16string_view text) {
  QTextCursor c = Cursor();
  const QTextCharFormat f = InsertFormat(c);
  c.beginEditBlock();
  Insert(c, text, f);
  c.endEditBlock();
  SetCursor(c);
}

namespace {

// The picture format of a file's bytes, by their signature.
std::optional<TPictureFormat> PictureFormatOf(const std::string& bytes) {
  if (bytes.rfind("\x89PNG\r\n\x1A\n", 0) == 0) return TPictureFormat::Png;
  if (bytes.rfind("\xFF\xD8\xFF", 0) == 0) return TPictureFormat::Jpeg;
  return std::nullopt;
}

}  // namespace

TRichObject RichEditControl::FileObject(const std::string& fileName, bool link, bool iconic) {
  TRichObject object;
  object.Kind = link ? TRichObjectKind::Link : TRichObjectKind::Embedded;
  object.ClassName = "Package";
  object.HasPicture = false;
  object.Width = object.Height = 480;  // an icon's size
  if (link) {
    object.ObjectData = AnsiToUtf8(fileName);
    return object;
  }
  object.ObjectData = ReadFileBytes(fileName);
  const std::optional<TPictureFormat> format = PictureFormatOf(object.ObjectData);
  if (!format || iconic) return object;
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(object.ObjectData.data()), int(object.ObjectData.size()));
  TRichObject picture;
  picture.Picture.Format = *format;
  picture.Picture.Bytes = std::move(object.ObjectData);
  picture.Picture.PictureWidth = image.width();
  picture.Picture.PictureHeight = image.height();
  picture.Picture.GoalWidth = image.width() * 15;
  picture.Picture.GoalHeight = image.height() * 15;
  return picture;
}

bool RichEditControl::Impl::PictureObject(const QMimeData* data, TRichObject& object) {
  if (!data->hasImage()) return false;
  const QImage image = qvariant_cast<QImage>(data->imageData());
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG")) return false;
  object = TRichObject();
  object.Picture.Bytes = png.toStdString();
  object.Picture.PictureWidth = image.width();
  object.Picture.PictureHeight = image.height();
  object.Picture.GoalWidth = image.width() * 15;
  object.Picture.GoalHeight = image.height() * 15;
  return true;
}

bool RichEditControl::ClipboardObject(TRichObject& object) const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data) return false;
  if (data->hasImage()) return Impl::PictureObject(data, object);
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    try {
      object = FileObject(Utf8ToAnsi(url.toLocalFile().toStdString()), false, false);
      return true;
    } catch (const EFileError&) {
      // An unreadable file offers no object.
    }
  }
  return false;
}

namespace {

// The first local file the clipboard names (a system-code-page name); empty when none.
std::string ClipboardFile(const QMimeData* data) {
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return Utf8ToAnsi(url.toLocalFile().toStdString());
  return {};
}

}  // namespace

std::vector<TPasteFormat> RichEditControl::PasteFormats() const {
  std::vector<TPasteFormat> formats;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || d->readOnly) return formats;
  const bool objects = d->allowObjects && !d->plainText;
  if (objects && !ClipboardFile(data).empty()) {
    formats.push_back(TPasteFormat::Embedded);
    formats.push_back(TPasteFormat::Link);
  }
  if (!d->plainText && data->hasFormat(rich_edit::RtfMimeType)) {
    if (objects) formats.push_back(TPasteFormat::Rtf);
    formats.push_back(TPasteFormat::RtfNoObjects);
  }
  if (data->hasText()) formats.push_back(TPasteFormat::Text);
  if (objects && data->hasImage()) formats.push_back(TPasteFormat::Picture);
  return formats;
}

bool RichEditControl::PasteAs(TPasteFormat format, bool iconic) {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  const std::vector<TPasteFormat> offered = PasteFormats();
  if (!data || std::find(offered.begin(), offered.end(), format) == offered.end()) return false;
  switch (format) {
    case TPasteFormat::Embedded:
    case TPasteFormat::Link:
      InsertObject(FileObject(ClipboardFile(data), format == TPasteFormat::Link, iconic));
      break;
    case TPasteFormat::Rtf:
    case TPasteFormat::RtfNoObjects: {
      const QByteArray rtf = data->data(rich_edit::RtfMimeType);
      TRichDocument document;
      try {
        document = ReadRtf(std::string_view(rtf.constData(), size_t(rtf.size())));
      } catch (const EConvertError&) {
        return false;
      }
      if (format == TPasteFormat::RtfNoObjects)
        for (TRichParagraph& para : document.Paragraphs)
          std::erase_if(para.Runs, [](const TRichRun& run) { return run.Object.has_value(); });
      SetDocument(std::move(document), true);
      break;
    }
    case TPasteFormat::Text: d->InsertPlain(data->text().toStdU16String()); break;
    case TPasteFormat::Picture: {
      TRichObject picture;
      if (!Impl::PictureObject(data, picture)) return false;
      InsertObject(picture);
      break;
    }
  }
  ScrollCaret();
  return true;
}
