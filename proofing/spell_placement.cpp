#include "proofing/spell_placement.h"

#include <algorithm>

TPoint PlacePopup(TRect Popup, TPoint Word, int ScreenWidth, int ScreenHeight) {
  const int x = Word.X, y = std::max(Word.Y, 20);
  const int width = Popup.Right - Popup.Left, height = Popup.Bottom - Popup.Top;
  TPoint place{Popup.Left, Popup.Top};
  if (!(Popup.Left < x + 100 && x < Popup.Left + width && Popup.Top < y + 20 && Popup.Top + height > y - 30))
    return place;
  place.X = x > ScreenWidth - width ? x - width - 20 : x;
  place.Y = y <= ScreenHeight - height - 30 ? y + 20 : y - height - 20;
  return place;
}

TPoint PlaceFinding(int Height, TPoint At, int ScreenHeight) {
  const int y = std::max(At.Y, 10);
  return {At.X, y + 20 > ScreenHeight - Height - 30 ? y - Height - 20 : y + 20};
}
