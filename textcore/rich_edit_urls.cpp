// Hyperlinks of TRichEditW: detection of link text by the hyperlink kinds, and the link
// events (cursor, OnURLMove, OnURLClick).
#include <algorithm>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "platform/rich_text.h"

namespace {

// The characters of a URL: letters, digits and every mark that RFC 3986 allows, '%' and '\'.
bool IsURLChar(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return true;
  return std::u16string_view(u"-._~:/?#[]@!$&'()*+,;=%\\").find(c) != std::u16string_view::npos;
}

// Marks that end a sentence rather than a link: trailing ones are not part of it.
bool IsTrailingMark(char16_t c) { return std::u16string_view(u".,;:!?'").find(c) != std::u16string_view::npos; }

std::string AsciiLower(std::string text) {
  for (char& ch : text)
    if (ch >= 'A' && ch <= 'Z') ch = char(ch + 32);
  return text;
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (AsciiUpper(text[i]) != AsciiUpper(prefix[i])) return false;
  return true;
}

// The standard kinds of the system control's own detection (AutoURLDetect = adDefault).
const TURLCollection& StandardURLs() {
  static const TURLCollection* urls = [] {
    auto* list = new TURLCollection;
    for (const char* name : {"e-mail", "http", "https", "ftp", "file", "mailto", "news", "nntp",
                             "telnet", "gopher", "wais", "prospero", "notes", "callto", "tel"})
      list->AddOrUpdate(name, clWindowText, crDefault, true);
    return list;
  }();
  return *urls;
}

}  // namespace

void TCustomRichEditW::DetectURLs(int start, int end) {
  const TURLCollection& kinds = autoURLDetect_ == adExtended ? *customURLs_ : StandardURLs();
  RichEditControl& c = *control_;
  const int length = c.TextLength();
  if (length < 3 || kinds.Count() == 0) return;
  start = std::clamp(start, 0, length);
  end = std::clamp(end, start, length);
  // Only the URL characters joined to the range can make a link with it (a paragraph end is
  // none): the text beside it is read outward in small pieces, never its whole paragraph, so a
  // change costs what it changed also in a long paragraph.
  constexpr int kPiece = 256;
  for (bool more = true; more && start > 0;) {
    const int from = std::max(0, start - kPiece);
    const std::u16string piece = c.TextRange(from, start);
    size_t kept = piece.size();
    while (kept > 0 && IsURLChar(piece[kept - 1])) --kept;
    more = kept == 0;
    start = from + int(kept);
  }
  for (bool more = true; more && end < length;) {
    const int to = std::min(length, end + kPiece);
    const std::u16string piece = c.TextRange(end, to);
    size_t kept = 0;
    while (kept < piece.size() && IsURLChar(piece[kept])) ++kept;
    more = kept == piece.size();
    end += int(kept);
  }
  const int from = start;
  const std::u16string text = c.TextRange(start, end);
  auto at = [&](int pos) { return text[size_t(pos - from)]; };

  const std::vector<std::pair<int, int>> marked = c.AutoLinkRanges(start, end);
  ++changeLock_;
  // Takes the link marking off the marked text in [a, z) that is no longer a link.
  auto unmark = [&](int a, int z) {
    for (const auto& [ma, mz] : marked)
      if (std::max(a, ma) < std::min(z, mz)) c.UnmarkLinks(std::max(a, ma), std::min(z, mz));
  };
  int pos = start;
  int plainFrom = start;  // text from here up to the next link is no link
  while (pos < end) {
    while (pos < end && !IsURLChar(at(pos))) ++pos;
    const int wordStart = pos;
    while (pos < end && IsURLChar(at(pos))) ++pos;
    if (wordStart == pos) break;
    int wordEnd = pos;
    while (wordEnd > wordStart && IsTrailingMark(at(wordEnd - 1))) --wordEnd;
    const std::u16string_view word =
        std::u16string_view(text).substr(size_t(wordStart - from), size_t(wordEnd - wordStart));
    if (!word.empty() && word.back() == u')' && word.find(u'(') == std::u16string_view::npos) {
      --wordEnd;
      while (wordEnd > wordStart && IsTrailingMark(at(wordEnd - 1))) --wordEnd;
    }
    const std::u16string_view link = word.substr(0, size_t(wordEnd - wordStart));
    // A link has a scheme ("name:") or is a mail address: most words have neither sign.
    if (link.find_first_of(u":@") == std::u16string_view::npos) continue;
    const TURLType* kind = nullptr;
    for (int i = 1; i < kinds.Count() && !kind; ++i) {
      const std::u16string scheme = AnsiToWide(kinds.Items(i)->Name) + u":";
      if (link.size() > scheme.size() && StartsWithNoCase(link, scheme)) kind = kinds.Items(i);
    }
    if (!kind) {
      const size_t atSign = link.find(u'@', 1);
      if (atSign != std::u16string_view::npos && atSign + 1 < link.size() &&
          link.find(u'.', atSign + 2) != std::u16string_view::npos)
        kind = kinds.Items(0);
    }
    if (!kind) continue;
    unmark(plainFrom, wordStart);
    TCharFormat f;
    f.Link = true;
    f.Color = uint32_t(ColorToRGB(kind->Color == clWindowText ? urlColor_ : kind->Color));
    f.UnderlineType = kind->Underline ? ulSingle : ulNone;
    const TCharFormat current = c.CharFormatAt(wordStart);
    const bool done = std::any_of(marked.begin(), marked.end(), [&](const auto& r) {
      return r.first <= wordStart && r.second >= wordEnd;
    }) && current.Color == f.Color && current.UnderlineType == f.UnderlineType;
    if (!done) c.MarkRange(wordStart, wordEnd, f, CFM_LINK | CFM_COLOR | CFM_UNDERLINETYPE);
    plainFrom = wordEnd;
  }
  unmark(plainFrom, end);
  --changeLock_;
}

const TURLType* TURLCollection::KindOf(const std::string& linkText) const {
  const int count = Count();
  const size_t colon = linkText.find(':', 1);
  if (colon == std::string::npos) {
    const int index = linkText.find('@', 1) != std::string::npos ? 0 : 1;
    return index < count ? Items(index) : nullptr;
  }
  const std::string scheme = AsciiLower(linkText.substr(0, colon));
  const TURLType* kind = nullptr;
  for (int i = 1; i < count; ++i) {
    kind = Items(i);
    if (AsciiLower(kind->Name) == scheme) break;
  }
  return kind;
}

void TCustomRichEditW::Link(int event, int start, int end) {
  const std::string text = WideToAnsi(control_->TextRange(start, end), SystemCodePage());
  const TURLType* kind = customURLs_->KindOf(text);
  switch (TRichLinkEvent(event)) {
    case TRichLinkEvent::MouseMove: {
      TCursor cursor = kind && kind->Cursor != crDefault ? kind->Cursor : urlCursor_;
      control_->SetMouseCursor(cursor != crDefault ? cursor : crHandPoint);
      if (OnURLMove && text.size() > 1) OnURLMove(this, text);
      break;
    }
    case TRichLinkEvent::LButtonUp:
      if (OnURLClick && text.size() > 1) OnURLClick(this, text);
      break;
    default:
      break;
  }
}
