// Plain value types of the GUI layer: points, rectangles, colours, shift states, messages,
// modal results, cursors and the event signatures that components publish.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/object.h"

struct TPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle as Windows keeps it: Right and Bottom lie just outside.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// State bits of an owner-drawn menu item or list entry.
using TOwnerDrawState = unsigned;
inline constexpr TOwnerDrawState odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16,
    odDefault = 32;
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
inline TPoint Point(int x, int y) { return {x, y}; }

// 0x00BBGGRR; negative values (0x80000000 | COLOR_xxx) name system colours resolved by the palette.
using TColor = int32_t;
inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
    clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000,
    clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00,
    clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
    clWhite = 0xFFFFFF, clLtGray = 0xC0C0C0, clDkGray = 0x808080;
inline constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
inline constexpr TColor SystemColor(int index) { return TColor(0x80000000u | unsigned(index)); }
inline constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
    clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3), clMenu = SystemColor(4),
    clWindow = SystemColor(5), clWindowFrame = SystemColor(6), clMenuText = SystemColor(7),
    clWindowText = SystemColor(8), clCaptionText = SystemColor(9), clActiveBorder = SystemColor(10),
    clInactiveBorder = SystemColor(11), clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13),
    clHighlightText = SystemColor(14), clBtnFace = SystemColor(15), clBtnShadow = SystemColor(16),
    clGrayText = SystemColor(17), clBtnText = SystemColor(18), clInactiveCaptionText = SystemColor(19),
    clBtnHighlight = SystemColor(20), cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22),
    clInfoText = SystemColor(23), clInfoBk = SystemColor(24);
inline constexpr TColor RGB(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }
inline constexpr int GetRValue(TColor c) { return c & 0xFF; }
inline constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
// The RGB value of a colour, system colours resolved through the current palette.
TColor ColorToRGB(TColor color);
// "clRed", "clBtnFace" or a number ("$00FF0000", "255") to a colour; EConvertError otherwise.
TColor StringToColor(const std::string& text);
// The colour's name when it has one, else "$00BBGGRR".
std::string ColorToString(TColor color);

// Shift state of keys and mouse buttons.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16,
    ssMiddle = 32, ssDouble = 64;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual-key codes as Windows numbers them (letters and digits are their ASCII capitals).
inline constexpr uint16_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
    VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D,
    VK_DELETE = 0x2E, VK_LWIN = 0x5B, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
    VK_F12 = 0x7B, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;

// A keyboard shortcut: a virtual key plus scShift/scCtrl/scAlt, as menus and actions keep it.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
inline constexpr TShortCut ShortCut(uint16_t key, TShiftState shift) {
  return TShortCut(key | ((shift & ssShift) ? scShift : 0) | ((shift & ssCtrl) ? scCtrl : 0) |
                   ((shift & ssAlt) ? scAlt : 0));
}
// "Ctrl+Shift+F5" style text of a shortcut and back (0 for text that names no key).
std::string ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const std::string& text);

// Window messages of the layer. Controls receive them through Perform and WindowProc.
struct TMessage {
  unsigned Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};
inline constexpr unsigned WM_DESTROY = 0x0002, WM_SIZE = 0x0005, WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A, WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
    WM_QUERYENDSESSION = 0x0011, WM_SHOWWINDOW = 0x0018, WM_GETMINMAXINFO = 0x0024,
    WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105, WM_COMMAND = 0x0111, WM_TIMER = 0x0113, WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A, WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303, WM_UNDO = 0x0304, WM_USER = 0x0400;
// Mouse-message key flags (WParam) and the packing of a point into LParam.
inline constexpr uintptr_t MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 16;
inline constexpr intptr_t MakeLParam(int lo, int hi) { return intptr_t((uint32_t(uint16_t(lo))) | (uint32_t(uint16_t(hi)) << 16)); }
inline constexpr int LParamX(intptr_t l) { return int16_t(l & 0xFFFF); }
inline constexpr int LParamY(intptr_t l) { return int16_t((l >> 16) & 0xFFFF); }

// Modal results of forms and buttons.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
    mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// Mouse cursors.
using TCursor = int;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
    crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
    crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
    crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
    crHandPoint = -21, crSizeAll = -22;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Event signatures. A handler is a routine plus its object, as std::function.
class TComponent;
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
