#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/Component.h"
#include "gfx/Bitmap.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/Graphics.h"

namespace ui {

template <class T>
class TPropertyList;

// Pictures of one size, drawn by index (menus, page tabs, tray icon
// cycling). Pictures of another size are stretched to the list's size when
// added. Layouts store the pictures as one strip, left to right.
class TImageList : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(TPropertyList<TImageList>& list);

  explicit TImageList(core::TComponent* owner);
  ~TImageList() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Changing the size empties the list.
  void SetWidth(int width);
  void SetHeight(int height);
  int Count() const { return int(FImages.size()); }
  // The colour left out when drawing (clNone: none).
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor color) { FBkColor = color; }

  // Adds a picture; returns its index.
  int Add(const gfx::Bitmap& picture);
  int AddBitmap(const TBitmap& bitmap) { return Add(bitmap.Bitmap()); }
  int AddIcon(const TIcon& icon) { return Add(icon.Picture()); }
  // Cuts a strip into pictures of the list's width.
  void AddStrip(const gfx::Bitmap& strip);
  void Replace(int index, const gfx::Bitmap& picture);
  void Delete(int index);
  void Clear();
  // Raise EListError "List index out of bounds (<index>)".
  const gfx::Bitmap& Picture(int index) const;
  void GetBitmap(int index, TBitmap& bitmap) const;
  void GetIcon(int index, TIcon& icon) const;
  // Draws picture index at (x, y); disabled pictures are drawn greyed.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

  // All pictures side by side (what a layout stores), and back.
  gfx::Bitmap Strip() const;
  void SetStrip(const gfx::Bitmap& strip);

  TNotifyEvent OnChange;

 private:
  void Changed();
  gfx::Bitmap Fit(const gfx::Bitmap& picture) const;

  int FWidth = 16;
  int FHeight = 16;
  TColor FBkColor = clNone;
  std::vector<gfx::Bitmap> FImages;
};

}  // namespace ui
