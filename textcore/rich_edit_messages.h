// The rich edit messages that the program sends to a TRichEditW through Perform, with the
// records they point to. Positions follow the control's position model (rich_edit.h).
#pragma once

#include <cstdint>

#include "platform/gui/gui_types.h"

inline constexpr unsigned EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_LINESCROLL = 0x00B6,
    EM_SCROLLCARET = 0x00B7, EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9,
    EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB, EM_LINELENGTH = 0x00C1,
    EM_CANUNDO = 0x00C6, EM_UNDO = 0x00C7, EM_POSFROMCHAR = 0x00D6, EM_CHARFROMPOS = 0x00D7,
    EM_CANPASTE = WM_USER + 50, EM_EXGETSEL = WM_USER + 52, EM_EXLINEFROMCHAR = WM_USER + 54,
    EM_EXSETSEL = WM_USER + 55, EM_GETEVENTMASK = WM_USER + 59, EM_HIDESELECTION = WM_USER + 63,
    EM_SETBKGNDCOLOR = WM_USER + 67, EM_SETEVENTMASK = WM_USER + 69,
    EM_FINDWORDBREAK = WM_USER + 76, EM_SETUNDOLIMIT = WM_USER + 82, EM_REDO = WM_USER + 84,
    EM_CANREDO = WM_USER + 85, EM_FINDTEXTW = WM_USER + 123, EM_FINDTEXTEXW = WM_USER + 124,
    EM_GETZOOM = WM_USER + 224, EM_SETZOOM = WM_USER + 225;

// Event-mask bits (EM_SETEVENTMASK).
inline constexpr uint32_t ENM_CHANGE = 0x1, ENM_PROTECTED = 0x200000, ENM_REQUESTRESIZE = 0x40000,
    ENM_SELCHANGE = 0x80000, ENM_LINK = 0x4000000;

// EM_FINDWORDBREAK actions and the class bits of WB_CLASSIFY.
inline constexpr unsigned WB_LEFT = 0, WB_RIGHT = 1, WB_ISDELIMITER = 2, WB_CLASSIFY = 3,
    WB_MOVEWORDLEFT = 4, WB_MOVEWORDRIGHT = 5, WB_LEFTBREAK = 6, WB_RIGHTBREAK = 7;
inline constexpr int WBF_ISWHITE = 0x10, WBF_BREAKLINE = 0x20;

struct CHARRANGE {
  int cpMin = 0;
  int cpMax = 0;
};

struct FINDTEXTW {
  CHARRANGE chrg;
  const char16_t* lpstrText = nullptr;
};

struct FINDTEXTEXW {
  CHARRANGE chrg;
  const char16_t* lpstrText = nullptr;
  CHARRANGE chrgText;  // the match, filled in
};

struct POINTL {
  int x = 0;
  int y = 0;
};
