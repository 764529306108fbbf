// The print preview's pure state: the page's size on the screen, the zoom in tenths, the page
// number typed, and the names of the page files.
#pragma once

#include <string>

// The page and the window's client area on a screen of that size, for a paper aspect
// (height / width; 0 stands for 0.707).
struct TPreviewGeometry {
  int PageWidth = 0, PageHeight = 0;
  int ClientWidth = 0, ClientHeight = 0;
  int BitmapWidth = 0, BitmapHeight = 0;  // the image's first size: 0.98 of the page
};
TPreviewGeometry PreviewGeometry(int screenWidth, int screenHeight, double aspect);

// The zoom factor in tenths (10 = 1.0), never below 1.0.
class TPreviewZoom {
public:
  void ZoomIn() { ++tenths_; }
  void ZoomOut() { tenths_ = tenths_ > 10 ? tenths_ - 1 : 10; }
  void Reset() { tenths_ = 10; }
  double Factor() const { return tenths_ / 10.0; }
  bool CanZoomOut() const { return tenths_ > 10; }
  // "1.0", "1.1"...
  std::string Text() const;

private:
  int tenths_ = 10;
};

// The page index a typed page number asks for, kept within 0..last; text that is no number
// leaves `current`.
int TypedPageIndex(const std::string& text, int current, int last);

// The file of page `index` in `folder`: "PreviewMetafile" followed by the index.
std::string PreviewPageFile(const std::string& folder, int index);
