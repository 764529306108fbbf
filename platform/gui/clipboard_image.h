// Pictures on the clipboard (any image format the desktop offers).
#pragma once

class TBitmap;

// Whether the clipboard holds a picture.
bool ClipboardHasImage();
// The clipboard's picture; false (bitmap unchanged) when there is none.
bool ClipboardImage(TBitmap& bitmap);
// Puts a picture on the clipboard.
void SetClipboardImage(const TBitmap& bitmap);
