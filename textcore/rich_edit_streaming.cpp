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

std::u16string Utf16LeOf(std::string_view bytes) {
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) bytes.remove_prefix(2);
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
  return text;
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

}  // namespace

void InterruptRichEditStreaming() { streamingAborted = true; }

std::string ReadRichEditStream(TCustomRichEditW& control, TStream& stream) {
  streamingAborted = false;
  return ReadAll(control, stream);
}

void LoadRichEditText(TCustomRichEditW& control, const std::u16string& text) {
  RichEditControl& c = control.Control();
  if (control.SelectedInOut()) c.ReplaceSel(TextOf(text), true);
  else c.SetText(TextOf(text));
  if (control.AutoURLDetect() == adExtended) control.DetectURLs(0, c.TextLength());
}

void LoadRichEditStream(TCustomRichEditW& control, TStream& stream) {
  LoadRichEditData(control, ReadRichEditStream(control, stream));
}

void LoadRichEditData(TCustomRichEditW& control, const std::string& data) {
  RichEditControl& c = control.Control();
  const bool selection = control.SelectedInOut();
  if (control.InputFormat() == ifRTF && IsRtf(data)) {
    std::optional<TRichDocument> document;
    try {
      TRtfReadOptions options;
      options.Plain = control.PlainRTF();
      document = ReadRtf(data, options);
    } catch (const EConvertError&) {
      // Not readable as RTF: taken as plain text below.
    }
    if (document) {
      c.SetDocument(*document, selection);
      if (control.AutoURLDetect() == adExtended) control.DetectURLs(0, c.TextLength());
      return;
    }
  }
  LoadRichEditText(control, control.InputFormat() == ifUnicode ? Utf16LeOf(data)
                                                               : AnsiToWideString(data, control.CodePage()));
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
