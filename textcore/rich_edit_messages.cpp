// The rich edit messages a TRichEditW answers through Perform.
#include "textcore/rich_edit_messages.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"

namespace {

// Character classes of the word-break procedure: 0 letters and digits, 1 blanks, 2 marks.
int CharClass(char16_t c) {
  if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\n' || c == 0xA0) return 1;
  if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_') return 0;
  if (c >= 0x80 && c != 0x2013 && c != 0x2014 && c != 0xAB && c != 0xBB && c != 0x2026 &&
      !(c >= 0x2018 && c <= 0x201E))
    return 0;
  return 2;
}

// EM_FINDWORDBREAK over `text` (the whole text) from `pos`.
intptr_t WordBreak(const std::u16string& text, unsigned action, int pos) {
  const int n = int(text.size());
  pos = std::clamp(pos, 0, n);
  auto cls = [&](int i) { return CharClass(text[size_t(i)]); };
  switch (action) {
    case WB_CLASSIFY: {
      if (pos >= n) return WBF_ISWHITE | WBF_BREAKLINE | 1;
      const int k = cls(pos);
      const char16_t c = text[size_t(pos)];
      return k == 1 ? (WBF_ISWHITE | ((c == u'\r' || c == u'\v') ? WBF_BREAKLINE : 0) | 1) : k;
    }
    case WB_ISDELIMITER:
      return pos < n && cls(pos) == 1;
    case WB_MOVEWORDRIGHT:
    case WB_RIGHT:
    case WB_RIGHTBREAK: {
      if (pos < n && cls(pos) != 1) {
        const int k = cls(pos);
        while (pos < n && cls(pos) == k) ++pos;
      }
      if (action != WB_RIGHTBREAK)
        while (pos < n && cls(pos) == 1) ++pos;
      return pos;
    }
    case WB_MOVEWORDLEFT:
    case WB_LEFT:
    case WB_LEFTBREAK: {
      while (pos > 0 && cls(pos - 1) == 1) --pos;
      if (pos > 0) {
        const int k = cls(pos - 1);
        while (pos > 0 && cls(pos - 1) == k) --pos;
      }
      return pos;
    }
    default:
      return 0;
  }
}

}  // namespace

void TCustomRichEditW::WndProc(TMessage& m) {
  RichEditControl& c = *control_;
  auto range = [&]() -> CHARRANGE& { return *reinterpret_cast<CHARRANGE*>(m.LParam); };
  switch (m.Msg) {
    case EM_GETSEL:
      if (m.WParam) *reinterpret_cast<int*>(m.WParam) = c.SelStart();
      if (m.LParam) *reinterpret_cast<int*>(m.LParam) = c.SelEnd();
      m.Result = (c.SelStart() & 0xFFFF) | (intptr_t(c.SelEnd() & 0xFFFF) << 16);
      return;
    case EM_SETSEL: c.SetSel(int(intptr_t(m.WParam)), int(m.LParam)); return;
    case EM_EXGETSEL: range() = {c.SelStart(), c.SelEnd()}; return;
    case EM_EXSETSEL: c.SetSel(range().cpMin, range().cpMax); m.Result = c.SelEnd(); return;
    case EM_HIDESELECTION: c.HideSelection(m.WParam != 0); return;
    case EM_LINEINDEX: m.Result = c.LineIndex(int(intptr_t(m.WParam))); return;
    case EM_EXLINEFROMCHAR: m.Result = c.LineFromChar(int(m.LParam)); return;
    case EM_GETLINECOUNT: m.Result = c.LineCount(); return;
    case EM_LINELENGTH: m.Result = c.LineLength(int(intptr_t(m.WParam))); return;
    case EM_LINESCROLL: {
      // Scrolling stops where the text ends, however many lines were asked for.
      const int64_t lines = int64_t(m.LParam);
      for (int64_t i = 0; i < std::abs(lines); ++i)
        if (!c.ScrollLines(lines < 0 ? -1 : 1)) break;
      m.Result = 1;
      return;
    }
    case EM_SCROLLCARET: c.ScrollCaret(); return;
    case EM_POSFROMCHAR: {
      const auto [x, y] = c.PosFromChar(int(m.LParam));
      *reinterpret_cast<POINTL*>(m.WParam) = {x, y};
      return;
    }
    case EM_CHARFROMPOS: {
      const POINTL& p = *reinterpret_cast<const POINTL*>(m.LParam);
      m.Result = c.CharFromPos(p.x, p.y);
      return;
    }
    case EM_CANPASTE: m.Result = c.CanPaste(); return;
    case EM_CANUNDO: m.Result = c.CanUndo(); return;
    case EM_UNDO: m.Result = c.CanUndo(); c.Undo(); return;
    case EM_CANREDO: m.Result = c.CanRedo(); return;
    case EM_REDO: m.Result = c.CanRedo(); c.Redo(); return;
    case EM_SETUNDOLIMIT: SetUndoLimit(int(intptr_t(m.WParam))); m.Result = undoLimit_; return;
    case EM_GETMODIFY: m.Result = c.Modified(); return;
    case EM_SETMODIFY: c.SetModified(m.WParam != 0); return;
    case EM_GETEVENTMASK: m.Result = intptr_t(eventMask_); return;
    case EM_SETEVENTMASK: m.Result = intptr_t(eventMask_); eventMask_ = uint32_t(m.LParam); return;
    case EM_SETBKGNDCOLOR:
      m.Result = ColorToRGB(Color());
      SetColor(m.WParam ? clWindow : TColor(m.LParam & 0xFFFFFF));
      return;
    case EM_FINDTEXTW:
    case EM_FINDTEXTEXW: {
      auto& find = *reinterpret_cast<FINDTEXTW*>(m.LParam);
      const std::u16string text = find.lpstrText ? std::u16string(find.lpstrText) : std::u16string();
      m.Result = c.FindText(text, find.chrg.cpMin, find.chrg.cpMax, unsigned(m.WParam));
      if (m.Msg == EM_FINDTEXTEXW) {
        auto& ex = *reinterpret_cast<FINDTEXTEXW*>(m.LParam);
        ex.chrgText = m.Result < 0 ? CHARRANGE{-1, -1} : CHARRANGE{int(m.Result), int(m.Result + text.size())};
      }
      return;
    }
    case EM_FINDWORDBREAK: m.Result = WordBreak(c.Text(), unsigned(m.WParam), int(m.LParam)); return;
    case EM_GETZOOM:
      *reinterpret_cast<int*>(m.WParam) = zoomNumerator_;
      *reinterpret_cast<int*>(m.LParam) = zoomDenominator_;
      m.Result = 1;
      return;
    case EM_SETZOOM: {
      const int num = int(intptr_t(m.WParam)), den = int(m.LParam);
      m.Result = (num == 0 && den == 0) || (num > 0 && den > 0 && num * 64 >= den && num <= den * 64);
      if (m.Result) {  // kept for EM_GETZOOM; the window shows the text at its own size
        zoomNumerator_ = num;
        zoomDenominator_ = den;
      }
      return;
    }
    case WM_SETREDRAW: c.SetRedraw(m.WParam != 0); return;
    case WM_PASTE: c.Paste(); return;
    case WM_COPY: c.Copy(); return;
    case WM_CUT: c.Cut(); return;
    case WM_CLEAR: c.ClearSelection(); return;
    case WM_UNDO: m.Result = c.CanUndo(); c.Undo(); return;
    default:
      TWinControl::WndProc(m);
  }
}
