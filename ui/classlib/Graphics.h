#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Set.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "ui/classlib/Persistent.h"
#include "ui/windowing/WindowTypes.h"

namespace core {
class TStream;
}

// The drawing objects of the class library: colours with the system colour
// names, fonts, pens and brushes that tell their owner when they change, a
// canvas over a device context, and pictures (bitmaps and icons).
namespace ui {

class DeviceContext;
template <class T>
class TPropertyList;

// ---- Colours ----------------------------------------------------------

// A colour as layouts write it: an RGB value 0x00BBGGRR, or a system
// colour (clSystemColor | COLOR_ index) resolved when it is drawn.
using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value to draw with (system colours resolved).
gfx::Color ColorToRGB(TColor color);
// The name of a named colour ("clBtnFace", "clRed"); false for other
// values, which layouts write as numbers. Names compare without case.
bool ColorToIdent(TColor color, std::string& name);
bool IdentToColor(std::string_view name, TColor& color);

// ---- Graphics objects -------------------------------------------------

// Base of fonts, pens and brushes: a value that reports each change to the
// one object that uses it (a control, a canvas).
class TGraphicsObject : public TPersistent {
 public:
  using inherited = TPersistent;
  using TChangeEvent = std::function<void(TGraphicsObject* sender)>;
  // Fired after every change of a property; the handler may not destroy
  // the object.
  TChangeEvent OnChange;

 protected:
  virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = core::TSet<TFontStyle>;

// The character sets layouts name (gfx has the values).
constexpr int ANSI_CHARSET = gfx::ANSI_CHARSET;
constexpr int DEFAULT_CHARSET = gfx::DEFAULT_CHARSET;
constexpr int GB2312_CHARSET = gfx::GB2312_CHARSET;
bool CharsetToIdent(int charset, std::string& name);
bool IdentToCharset(std::string_view name, int& charset);

// A font: name, height in pixels (negative: character height, positive:
// cell height), style, colour and character set. Size is the height in
// points at 96 pixels per inch.
class TFont : public TGraphicsObject {
 public:
  using inherited = TGraphicsObject;
  static void DefineProperties(TPropertyList<TFont>& list);
  static constexpr int PixelsPerInch = 96;

  TFont();

  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  int Height() const { return FHeight; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  int Charset() const { return FCharset; }
  void SetCharset(int charset);

  void Assign(const TPersistent& source) override;
  // The value the canvas draws with.
  gfx::Font ToGfxFont() const;
  bool SameAs(const TFont& other) const;

 private:
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  int FCharset = DEFAULT_CHARSET;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// Lines and outlines; one pixel wide (dashed styles draw solid).
class TPen : public TGraphicsObject {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle style);
  int Width() const { return FWidth; }
  void SetWidth(int width);
  void Assign(const TPersistent& source) override;

 private:
  TColor FColor = clBlack;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
};

enum TBrushStyle { bsSolid, bsClear };

// Fills and the background of text; a clear brush fills nothing.
class TBrush : public TGraphicsObject {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);
  void Assign(const TPersistent& source) override;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TGraphic;

// Drawing with a font, a pen and a brush onto a device context (a window's
// or a bitmap's). Every drawing call first hands the current font, pen and
// brush to the context's gfx::Canvas. Drawing without a context raises
// core::EInvalidOperation "Canvas does not allow drawing".
class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  HDC Handle();
  // Draws into context from now on (nullptr: nothing). The context's
  // origin and clip stay as its owner set them.
  void SetHandle(HDC context);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() { return &FFont; }
  TPen* Pen() { return &FPen; }
  TBrush* Brush() { return &FBrush; }
  void SetFont(const TFont& font) { FFont.Assign(font); }
  void SetPen(const TPen& pen) { FPen.Assign(pen); }
  void SetBrush(const TBrush& brush) { FBrush.Assign(brush); }

  // The context's canvas with the current font, pen and brush applied.
  gfx::Canvas& Target();

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  gfx::Point PenPos();
  void Polyline(std::span<const gfx::Point> points);
  void Rectangle(const gfx::Rect& r);
  void Rectangle(int left, int top, int right, int bottom) { Rectangle(gfx::Rect{left, top, right, bottom}); }
  void FillRect(const gfx::Rect& r);
  void FrameRect(const gfx::Rect& r);
  void Ellipse(const gfx::Rect& r);
  void TextOut(int x, int y, std::string_view text);
  void TextRect(const gfx::Rect& r, int x, int y, std::string_view text);
  // gfx::DT_ flags; returns the height of the text.
  int DrawText(std::string_view text, gfx::Rect& rect, unsigned format);
  gfx::Size TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).Width; }
  int TextHeight(std::string_view text) { return TextExtent(text).Height; }
  gfx::Color Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  void Draw(int x, int y, const TGraphic& graphic);
  void StretchDraw(const gfx::Rect& r, const TGraphic& graphic);
  // A part of another canvas's picture (stretched to fit).
  void CopyRect(const gfx::Rect& destination, TCanvas& source, const gfx::Rect& sourceRect);
  // The part of the canvas drawing can reach, logical coordinates.
  gfx::Rect ClipRect();

  // Fired around every drawing call (a bitmap marks itself changed).
  std::function<void(TCanvas* sender)> OnChange;
  std::function<void(TCanvas* sender)> OnChanging;

 protected:
  // Called when drawing needs a context and has none; a control canvas
  // gets one from its window here.
  virtual void CreateHandle() {}
  void Changing();
  void Changed();

 private:
  void Require();

  HDC FHandle = nullptr;
  TFont FFont;
  TPen FPen;
  TBrush FBrush;
};

// ---- Pictures -----------------------------------------------------------

// A picture that can be drawn on a canvas and stored in a layout (as the
// bytes of its file, BMP or PNG).
class TGraphic : public TPersistent {
 public:
  using inherited = TPersistent;
  // The picture's file as one binary property, "Data".
  static void DefineProperties(TPropertyList<TGraphic>& list);
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Draws the picture into r (stretching when the sizes differ).
  virtual void Draw(gfx::Canvas& canvas, const gfx::Rect& r) const = 0;
  // The file's bytes, BMP or PNG; raises gfx::Error for damaged data.
  virtual void LoadFromBytes(std::span<const std::uint8_t> bytes) = 0;
  virtual std::vector<std::uint8_t> SaveToBytes() const = 0;

  void LoadFromStream(core::TStream& stream);
  void SaveToStream(core::TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);

  std::function<void(TGraphic* sender)> OnChange;

 protected:
  virtual void Changed();

 private:
  bool FTransparent = false;
};

// A bitmap with a canvas to draw on it. The canvas's context is made on
// first use and follows the picture's size.
class TBitmap : public TGraphic {
 public:
  using inherited = TGraphic;
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;

  bool Empty() const override { return FBitmap.IsEmpty(); }
  int Width() const override { return FBitmap.Width(); }
  int Height() const override { return FBitmap.Height(); }
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }
  // Keeps the pixels that fit; new ones are black.
  void SetSize(int width, int height);

  TCanvas* Canvas();
  gfx::Bitmap& Bitmap() { return FBitmap; }
  const gfx::Bitmap& Bitmap() const { return FBitmap; }
  void SetBitmap(gfx::Bitmap bitmap);

  // Transparent drawing leaves out this colour (the bottom-left pixel's
  // when clDefault).
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color) { FTransparentColor = color; }

  void Draw(gfx::Canvas& canvas, const gfx::Rect& r) const override;
  void LoadFromBytes(std::span<const std::uint8_t> bytes) override;
  std::vector<std::uint8_t> SaveToBytes() const override;
  void Assign(const TPersistent& source) override;

 private:
  gfx::Bitmap FBitmap;
  std::unique_ptr<DeviceContext> FContext;
  std::unique_ptr<TCanvas> FCanvas;
  TColor FTransparentColor = clDefault;
};

// A window's icon: one picture (the task bar and caption show it).
class TIcon : public TGraphic {
 public:
  using inherited = TGraphic;
  bool Empty() const override { return FPicture.IsEmpty(); }
  int Width() const override { return FPicture.Width(); }
  int Height() const override { return FPicture.Height(); }
  const gfx::Bitmap& Picture() const { return FPicture; }
  void SetPicture(gfx::Bitmap picture);

  void Draw(gfx::Canvas& canvas, const gfx::Rect& r) const override;
  void LoadFromBytes(std::span<const std::uint8_t> bytes) override;
  std::vector<std::uint8_t> SaveToBytes() const override;
  void Assign(const TPersistent& source) override;

 private:
  gfx::Bitmap FPicture;
};

// Reads a BMP or PNG file's bytes (by their signature).
gfx::Bitmap ReadPicture(std::span<const std::uint8_t> bytes);

}  // namespace ui
