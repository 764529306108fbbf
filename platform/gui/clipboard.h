// The clipboard: text in the system code page, Unicode text, and formats registered by name
// (the rich text formats among them) as raw bytes. Open/Close group several formats into one
// clipboard content; outside Open each Set replaces the whole content.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Standard formats, numbered as Windows numbers them; registered formats count from 0xC000.
inline constexpr unsigned CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_DIB = 8, CF_UNICODETEXT = 13,
    CF_HDROP = 15, CF_LOCALE = 16;

// The number of the format called `name` (the same name always gives the same number).
unsigned RegisterClipboardFormat(const std::string& name);
// The name of a registered format; empty for standard and unknown ones.
std::string GetClipboardFormatName(unsigned format);

// Everything the clipboard holds, format by format as the desktop names the formats, kept to be
// put back later.
struct TClipboardContents {
  std::vector<std::pair<std::string, std::string>> Formats;  // format name, bytes
  bool Empty() const { return Formats.empty(); }
};

class TClipboard {
public:
  // Nested opening; the content set while open is published by the last Close.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(unsigned format) const;
  // The formats on the clipboard (text formats first).
  std::vector<unsigned> Formats() const;

  // Text as system-code-page bytes (CF_TEXT) and as UTF-16 (CF_UNICODETEXT): the same text.
  std::string AsText() const;
  void SetAsText(const std::string& text);
  std::u16string AsUnicodeText() const;
  void SetAsUnicodeText(const std::u16string& text);
  // The bytes of any format (text formats too, as 8-bit or UTF-16LE bytes without the final
  // zero); empty when the clipboard lacks it.
  std::string GetAsBytes(unsigned format) const;
  void SetAsBytes(unsigned format, const std::string& bytes);

  // Lets the next write take the clipboard from a program that took it just now: on X11 the
  // program's idea of the time catches up with the server's (handles pending messages).
  void CatchUp();

  // The whole content in every format, and such a content put back (an empty one clears).
  TClipboardContents SaveContents() const;
  void RestoreContents(const TClipboardContents& contents);

  // Runs `listener` whenever the clipboard content changes (from any program); answers an id
  // for RemoveChangeListener.
  int AddChangeListener(std::function<void()> listener);
  void RemoveChangeListener(int id);
  // True while the program itself publishes content (its change listeners see its own writes).
  bool Writing() const { return writing_; }

private:
  void Publish();
  class TPending;
  int openCount_ = 0;
  bool writing_ = false;
  TPending* pending_ = nullptr;
};

// The one clipboard object.
TClipboard* Clipboard();
