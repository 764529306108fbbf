#include "textcore/rich_edit_streaming.h"

#include "platform/rich_text.h"

#include <algorithm>
#include <optional>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "platform/streams.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"

namespace {

// The streaming abort flag: cleared by each load and save, set by InterruptRichEditStreaming.
bool streamingAborted = false;

constexpr int kBufferSize = 64 * 1024;

int ClampInt(int64_t value) { return int(std::min<int64_t>(value, INT32_MAX)); }

// Reads the rest of the stream buffer by buffer, reporting progress and stopping when asked.
std::string ReadAll(TCustomRichEditW& control, TStream& stream) {
  const int64_t size = stream.Size();
  std::string data;
  data.reserve(size_t(std::max<int64_t>(0, size - stream.Position())));
  char buffer[kBufferSize];
  for (;;) {
    const int64_t position = stream.Position();
    if (position >= size) break;
    if (streamingAborted) break;
    if (control.OnLoadProgress) control.OnLoadProgress(&control, ClampInt(position), ClampInt(size));
    // A stream that gives less than it holds failed: nothing of it is taken.
    const int wanted = int(std::min<int64_t>(kBufferSize, size - position));
    int n = 0;
    try {
      n = stream.Read(buffer, wanted);
    } catch (const EFileError&) {
      throw EOutOfResources("Failed to Load Stream");
    }
    if (n != wanted) throw EOutOfResources("Failed to Load Stream");
    data.append(buffer, size_t(n));
  }
  if (streamingAborted) throw EUserInterrupt();
  return data;
}

// 8-bit text with CR, LF or CR LF line ends as the control's text.
std::u16string TextOf(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    out += text[i] == u'\n' ? u'\r' : text[i];
  }
  return out;
}

// Plain text bytes (in a code page, or UTF-16LE) turned into the control's text piece by piece:
// CR, LF and CR LF end a paragraph ('\r'), also when a piece ends between CR and LF; a
// UTF-16 unit or a UTF-8 sequence cut by a piece's end waits for the next piece.
class TTextDecoder {
public:
  TTextDecoder(bool unicode, unsigned codePage) : unicode_(unicode), codePage_(codePage) {}

  std::u16string Decode(std::string_view bytes, bool last) {
    std::string joined;
    if (!carry_.empty()) {
      joined = std::move(carry_) + std::string(bytes);
      carry_.clear();
      bytes = joined;
    }
    if (first_ && unicode_ && bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
      bytes.remove_prefix(2);
    if (first_ && !bytes.empty()) first_ = false;
    if (!last) {
      const size_t keep = unicode_ ? bytes.size() % 2 : codePage_ == CP_UTF8 ? CutUtf8(bytes) : 0;
      carry_.assign(bytes.substr(bytes.size() - keep));
      bytes.remove_suffix(keep);
    }
    return FoldLineEnds(unicode_ ? Utf16Le(bytes) : AnsiToWideString(bytes, codePage_));
  }

private:
  // The bytes at the end that begin a UTF-8 sequence without its end.
  static size_t CutUtf8(std::string_view bytes) {
    for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
      const uint8_t b = uint8_t(bytes[bytes.size() - back]);
      if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
      const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
      return length > back ? back : 0;
    }
    return 0;
  }

  static std::u16string Utf16Le(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
    return text;
  }

  std::u16string FoldLineEnds(std::u16string text) {
    size_t out = 0;
    for (const char16_t c : text) {
      const bool skip = c == u'\n' && afterCr_;
      afterCr_ = c == u'\r';
      if (!skip) text[out++] = c == u'\n' ? u'\r' : c;
    }
    text.resize(out);
    return text;
  }

  bool unicode_;
  unsigned codePage_;
  bool first_ = true;
  bool afterCr_ = false;
  std::string carry_;
};

// The control's text, selection and modified state, given back when a load stops or fails.
class TKeptText {
public:
  TKeptText(RichEditControl& control, bool wholeText)
      : control_(control), selStart_(control.SelStart()), selEnd_(control.SelEnd()),
        modified_(control.Modified()) {
    if (wholeText && control.TextLength() > 0) text_ = control.Document(false);
  }
  void Restore() {
    if (text_) control_.SetDocument(std::move(*text_), false);
    control_.SetSel(selStart_, selEnd_);
    control_.SetModified(modified_);
  }

private:
  RichEditControl& control_;
  std::optional<TRichDocument> text_;
  int selStart_, selEnd_;
  bool modified_;
};

// Plain text is read into the control a piece at a time, so that neither the file's bytes nor
// its text are held beside the control's own copy, and progress and Stop reach every piece.
constexpr int kPieceSize = 1 << 20;

// Replaces the whole text with the stream's plain text. A stop or a failure gives back the
// previous text, its selection and modified state.
void StreamTextIn(TCustomRichEditW& control, TStream& stream) {
  RichEditControl& c = control.Control();
  TKeptText kept(c, true);
  TTextDecoder decoder(control.InputFormat() == ifUnicode, control.CodePage());
  const int64_t size = stream.Size();
  std::string buffer(size_t(kPieceSize), '\0');
  bool done = false;
  try {
    c.LoadText([&](std::u16string& piece) {
      const int64_t position = stream.Position();
      if (done) return false;
      if (streamingAborted) throw EUserInterrupt();
      if (position >= size) {
        done = true;
        piece = decoder.Decode({}, true);
        return true;
      }
      if (control.OnLoadProgress) control.OnLoadProgress(&control, ClampInt(position), ClampInt(size));
      if (streamingAborted) throw EUserInterrupt();
      const int wanted = int(std::min<int64_t>(kPieceSize, size - position));
      int n = 0;
      try {
        n = stream.Read(buffer.data(), wanted);
      } catch (const EFileError&) {
        throw EOutOfResources("Failed to Load Stream");
      }
      // A stream that gives less than it holds failed: nothing of it is taken.
      if (n != wanted) throw EOutOfResources("Failed to Load Stream");
      piece = decoder.Decode(std::string_view(buffer.data(), size_t(n)), false);
      return true;
    });
  } catch (...) {
    kept.Restore();
    throw;
  }
}

// The control's text as a file's: CR LF paragraph ends, objects left out.
std::u16string FileTextOf(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 32);
  for (char16_t c : text) {
    if (c == RichObjectChar) continue;
    out += c;
    if (c == u'\r') out += u'\n';
  }
  return out;
}

// An object's text form: a link's source, an embedded file's name (else its class); a picture
// has none.
std::u16string ObjectText(const TRichObject& object) {
  switch (object.Kind) {
    case TRichObjectKind::Link: return Utf8ToWide(object.ObjectData);
    case TRichObjectKind::Embedded: return AnsiToWide(object.ClassName);
    case TRichObjectKind::Picture: break;
  }
  return {};
}

// The text from `start` (of the control's text) with each object given its text form.
std::u16string TextizedOf(const RichEditControl& control, std::u16string text, int start) {
  const int end = start + int(text.size());
  for (int i = control.ObjectCount() - 1; i >= 0; --i) {
    const int position = control.ObjectPosition(i);
    if (position < start || position >= end) continue;
    text.replace(size_t(position - start), 1, ObjectText(control.Object(i)));
  }
  return text;
}

// Reports the load at `position` of `size` bytes; a Stop raises.
void ReportLoad(TCustomRichEditW& control, size_t position, size_t size) {
  if (streamingAborted) throw EUserInterrupt();
  if (control.OnLoadProgress) control.OnLoadProgress(&control, ClampInt(int64_t(position)), ClampInt(int64_t(size)));
  if (streamingAborted) throw EUserInterrupt();
}

// Reads RTF into the control (in place of the selection when `selection`), with progress and
// Stop; a stop or a failure gives back the previous text.
void ReadRtfIn(TCustomRichEditW& control, const std::string& data, TRtfReadOptions options, bool selection) {
  RichEditControl& c = control.Control();
  TKeptText kept(c, !selection);
  try {
    if (selection) {
      c.SetDocument(ReadRtf(data, options), true, [&](size_t done, size_t total) {
        ReportLoad(control, size_t(double(data.size()) * double(done) / double(total)), data.size());
      });
    } else {
      // Each paragraph goes into the control as it is read: the document is never held whole
      // beside the control's own text.
      options.Progress = [&](size_t position, size_t size) { ReportLoad(control, position, size); };
      c.LoadDocument([&](const std::function<void(TRichParagraph&)>& add) {
        options.Paragraph = add;
        ReadRtf(data, options);
      });
    }
  } catch (...) {
    kept.Restore();
    throw;
  }
}

}  // namespace

void InterruptRichEditStreaming() { streamingAborted = true; }

std::string ReadRichEditStream(TCustomRichEditW& control, TStream& stream) {
  streamingAborted = false;
  return ReadAll(control, stream);
}

void LoadRichEditText(TCustomRichEditW& control, const std::u16string& text) {
  RichEditControl& c = control.Control();
  if (control.SelectedInOut()) {
    c.ReplaceSel(TextOf(text), true);
  } else {
    // The whole text goes in a piece at a time, as a stream's does.
    const std::u16string folded = TextOf(text);
    size_t at = 0;
    c.LoadText([&](std::u16string& piece) {
      if (at >= folded.size()) return false;
      piece = folded.substr(at, size_t(kPieceSize));
      at += piece.size();
      return true;
    });
  }
  if (control.AutoURLDetect() == adExtended) control.DetectURLs(0, c.TextLength());
}

void LoadRichEditStream(TCustomRichEditW& control, TStream& stream) {
  streamingAborted = false;
  if (!control.SelectedInOut() && control.InputFormat() != ifRTF) {
    StreamTextIn(control, stream);
    RichEditControl& c = control.Control();
    if (control.AutoURLDetect() == adExtended) control.DetectURLs(0, c.TextLength());
    return;
  }
  LoadRichEditData(control, ReadAll(control, stream));
}

void LoadRichEditRtf(TCustomRichEditW& control, const std::string& data) {
  TRtfReadOptions options;
  options.Plain = control.PlainRTF();
  ReadRtfIn(control, data, options, control.SelectedInOut());
  if (control.AutoURLDetect() == adExtended) control.DetectURLs(0, control.Control().TextLength());
}

void LoadRichEditData(TCustomRichEditW& control, const std::string& data) {
  if (control.InputFormat() == ifRTF && IsRtf(data)) {
    try {
      LoadRichEditRtf(control, data);
      return;
    } catch (const EConvertError&) {
      // Not readable as RTF: taken as plain text below.
    }
  }
  LoadRichEditText(control, TTextDecoder(control.InputFormat() == ifUnicode, control.CodePage()).Decode(data, true));
}

void SaveRichEditStream(TCustomRichEditW& control, TStream& stream, bool selection) {
  streamingAborted = false;
  RichEditControl& c = control.Control();
  selection = selection || control.SelectedInOut();
  std::string data;
  switch (control.OutputFormat()) {
    case ofRTF:
    case ofRTFNoObjs: {
      TRtfWriteOptions options;
      options.NoObjects = control.OutputFormat() == ofRTFNoObjs;
      options.Plain = control.PlainRTF();
      options.CodePage = control.CodePage();
      data = WriteRtf(c.Document(selection), options);
      break;
    }
    case ofUnicode: {
      const std::u16string text = FileTextOf(selection ? c.SelText() : c.Text());
      data.resize(text.size() * 2);
      for (size_t i = 0; i < text.size(); ++i) {
        data[2 * i] = char(text[i] & 0xFF);
        data[2 * i + 1] = char(text[i] >> 8);
      }
      break;
    }
    case ofText:
      data = WideStringToAnsi(FileTextOf(selection ? c.SelText() : c.Text()), control.CodePage());
      break;
    case ofTextized:
      data = WideStringToAnsi(FileTextOf(TextizedOf(c, selection ? c.SelText() : c.Text(),
                                                    selection ? c.SelStart() : 0)),
                              control.CodePage());
      break;
  }
  for (size_t written = 0; written < data.size();) {
    if (streamingAborted) break;
    const int n = int(std::min<size_t>(kBufferSize, data.size() - written));
    try {
      stream.WriteBuffer(data.data() + written, n);
    } catch (const EFileError&) {
      throw EOutOfResources("Failed to Save Stream");
    }
    written += size_t(n);
    if (control.OnSaveProgress) control.OnSaveProgress(&control, ClampInt(stream.Position()), ClampInt(stream.Size()));
  }
  if (streamingAborted) throw EUserInterrupt();
}
