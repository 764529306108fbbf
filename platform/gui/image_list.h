// TImageList: equally sized pictures by index, drawn through a canvas (menus, toolbars, trees).
#pragma once

#include <memory>
#include <vector>

#include "platform/gui/component.h"

class QIcon;
class QImage;
class TBitmap;
class TCanvas;

class TImageList : public TComponent {
  QM_CLASS(TImageList, TComponent)
public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  int Width() const { return width_; }
  void SetWidth(int w);
  int Height() const { return height_; }
  void SetHeight(int h);
  int Count() const { return int(images_.size()); }
  bool Masked() const { return masked_; }
  void SetMasked(bool v) { masked_ = v; }

  // Adds the bitmap cut into Width-wide pictures; answers the index of the first.
  // `maskColor` (clNone: none) becomes transparent.
  int Add(const TBitmap& bitmap, TColor maskColor = clNone);
  int AddMasked(const TBitmap& bitmap, TColor maskColor) { return Add(bitmap, maskColor); }
  // Adds the pictures of a strip file (BMP, PNG); EFOpenError when it cannot be read.
  int AddFromFile(const std::string& fileName, TColor maskColor = clNone);
  void Replace(int index, const TBitmap& bitmap, TColor maskColor = clNone);
  void Delete(int index);
  void Clear();
  // Draws picture `index` at (x, y); a disabled picture is drawn greyed.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
  // Copies picture `index` into `bitmap` (resized to the list's size).
  void GetBitmap(int index, TBitmap& bitmap) const;

  // For the layer: picture `index` as a Qt icon.
  QIcon QtIcon(int index) const;

  TNotifyEvent OnChange;

private:
  void Changed();
  void CheckIndex(int index) const;
  int width_ = 16, height_ = 16;
  bool masked_ = true;
  std::vector<std::unique_ptr<QImage>> images_;
};
