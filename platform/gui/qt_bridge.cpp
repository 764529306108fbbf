#include "platform/gui/qt_bridge.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "platform/code_pages.h"
#include "platform/gui/mnemonics.h"

QString ToQ(const std::string& text) {
  std::u16string wide = AnsiToWide(text);
  return QString::fromUtf16(wide.data(), qsizetype(wide.size()));
}

std::string FromQ(const QString& text) {
  return WideToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())));
}

namespace {

// Windows' classic colours, used when no application palette exists.
const TColor kClassicColors[] = {
    0xC8C8C8, 0x000000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0,
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF};

bool PaletteRole(int index, QPalette::ColorGroup& group, QPalette::ColorRole& role) {
  group = QPalette::Active;
  switch (index) {
    case 4: case 5: role = index == 5 ? QPalette::Base : QPalette::Window; return true;
    case 7: case 8: role = index == 8 ? QPalette::Text : QPalette::WindowText; return true;
    case 13: role = QPalette::Highlight; return true;
    case 14: role = QPalette::HighlightedText; return true;
    case 15: role = QPalette::Button; return true;
    case 16: role = QPalette::Dark; return true;
    case 17: group = QPalette::Disabled; role = QPalette::Text; return true;
    case 18: role = QPalette::ButtonText; return true;
    case 20: role = QPalette::Light; return true;
    case 21: role = QPalette::Shadow; return true;
    case 22: role = QPalette::Midlight; return true;
    case 23: role = QPalette::ToolTipText; return true;
    case 24: role = QPalette::ToolTipBase; return true;
    default: return false;
  }
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if (color >= 0) return color & 0xFFFFFF;
  int index = color & 0xFF;
  if (qApp) {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (PaletteRole(index, group, role)) return FromQColor(QApplication::palette().color(group, role));
  }
  return index < int(std::size(kClassicColors)) ? kClassicColors[index] : clBlack;
}

QColor ToQColor(TColor color) {
  if (color == clNone) return QColor(Qt::transparent);
  TColor rgb = ColorToRGB(color == clDefault ? clWindow : color);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

QFont ToQFont(const TFont& font) {
  QFont f(ToQ(font.Name()));
  f.setPointSize(font.Size() > 0 ? font.Size() : 8);
  f.setBold(font.Style() & fsBold);
  f.setItalic(font.Style() & fsItalic);
  f.setUnderline(font.Style() & fsUnderline);
  f.setStrikeOut(font.Style() & fsStrikeOut);
  if (font.Pitch() == fpFixed) f.setFixedPitch(true);
  return f;
}

void FromQFont(const QFont& qfont, TFont& font) {
  font.SetName(FromQ(qfont.family()));
  font.SetSize(qfont.pointSize() > 0 ? qfont.pointSize() : 8);
  font.SetStyle((qfont.bold() ? fsBold : 0) | (qfont.italic() ? fsItalic : 0) |
                (qfont.underline() ? fsUnderline : 0) | (qfont.strikeOut() ? fsStrikeOut : 0));
}

Qt::CursorShape ToQtCursor(TCursor cursor) {
  switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: case crVSplit: return cursor == crVSplit ? Qt::SplitVCursor : Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: case crHSplit: return cursor == crHSplit ? Qt::SplitHCursor : Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crDrag: case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

namespace {

struct KeyPair {
  int qt;
  uint16_t vk;
};
const KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU}, {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME}, {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN}, {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Meta, VK_LWIN}, {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD}, {Qt::Key_Minus, 0xBD},
    {Qt::Key_Slash, 0xBF}, {Qt::Key_Period, 0xBE}, {Qt::Key_Comma, 0xBC},
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteLeft, 0xC0}};

}  // namespace

uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers mods) {
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
    if ((mods & Qt::KeypadModifier) && qtKey <= Qt::Key_9) return uint16_t(VK_NUMPAD0 + qtKey - Qt::Key_0);
    return uint16_t(qtKey);
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return uint16_t(VK_F1 + qtKey - Qt::Key_F1);
  // A letter of the Russian layout is the key it sits on, as with the Latin layout: Ctrl+S
  // works whichever layout is active.
  if (qtKey >= 0x0400 && qtKey <= 0x04FF)
    if (const char16_t latin = LayoutTwin(char16_t(qtKey))) return VirtualKeyFromQt(latin, mods);
  for (const KeyPair& k : kKeys)
    if (k.qt == qtKey) return k.vk;
  return 0;
}

int QtKeyFromVirtual(uint16_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
  if (vk >= VK_F1 && vk < VK_F1 + 24) return Qt::Key_F1 + (vk - VK_F1);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return Qt::Key_0 + (vk - VK_NUMPAD0);
  for (const KeyPair& k : kKeys)
    if (k.vk == vk) return k.qt;
  return 0;
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (mods & Qt::ShiftModifier) s |= ssShift;
  if (mods & Qt::ControlModifier) s |= ssCtrl;
  if (mods & Qt::AltModifier) s |= ssAlt;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

int QtKeySequenceFromShortCut(TShortCut shortCut) {
  int key = QtKeyFromVirtual(uint16_t(shortCut & 0x0FFF));
  if (!key) return 0;
  if (shortCut & scShift) key |= Qt::SHIFT;
  if (shortCut & scCtrl) key |= Qt::CTRL;
  if (shortCut & scAlt) key |= Qt::ALT;
  return key;
}
