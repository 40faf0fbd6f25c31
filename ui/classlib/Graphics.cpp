#include "ui/classlib/Graphics.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <typeinfo>

#include "core/Exception.h"
#include "core/FileStream.h"
#include "core/Format.h"
#include "core/MemoryStream.h"
#include "core/StringUtils.h"
#include "gfx/BmpCodec.h"
#include "gfx/Error.h"
#include "gfx/PngCodec.h"
#include "ui/windowing/DeviceContext.h"
#include "ui/classlib/Properties.h"
#include "ui/windowing/SystemMetrics.h"

namespace ui {

namespace {

struct ColorName {
  TColor Color;
  const char* Name;
};

constexpr std::array<ColorName, 42> ColorNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
}};

std::string ClassNameOf(const TPersistent& object) {
  // Good enough for an error message; the demangled name is not needed.
  return typeid(object).name();
}

}  // namespace

// ---- TPersistent ------------------------------------------------------

void TPersistent::Assign(const TPersistent& source) {
  throw core::EConvertError(core::Format("Cannot assign a %s to a %s", ClassNameOf(source), ClassNameOf(*this)));
}

// ---- Colours ------------------------------------------------------------

gfx::Color ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == clSystemColor) return GetSysColor(int(color & 0xFF));
  if (color == clNone || color == clDefault) return 0;
  return color & 0x00FFFFFF;
}

bool ColorToIdent(TColor color, std::string& name) {
  for (const ColorName& entry : ColorNames) {
    if (entry.Color == color) {
      name = entry.Name;
      return true;
    }
  }
  if (color == clDefault) {
    name = "clDefault";
    return true;
  }
  return false;
}

bool IdentToColor(std::string_view name, TColor& color) {
  for (const ColorName& entry : ColorNames) {
    if (core::SameText(entry.Name, name)) {
      color = entry.Color;
      return true;
    }
  }
  if (core::SameText(name, "clDefault")) {
    color = clDefault;
    return true;
  }
  return false;
}

bool CharsetToIdent(int charset, std::string& name) {
  switch (charset) {
    case ANSI_CHARSET: name = "ANSI_CHARSET"; return true;
    case DEFAULT_CHARSET: name = "DEFAULT_CHARSET"; return true;
    case 2: name = "SYMBOL_CHARSET"; return true;
    case GB2312_CHARSET: name = "GB2312_CHARSET"; return true;
    case 255: name = "OEM_CHARSET"; return true;
    default: return false;
  }
}

bool IdentToCharset(std::string_view name, int& charset) {
  static const std::array<std::pair<const char*, int>, 5> names{{
      {"ANSI_CHARSET", ANSI_CHARSET},
      {"DEFAULT_CHARSET", DEFAULT_CHARSET},
      {"SYMBOL_CHARSET", 2},
      {"GB2312_CHARSET", GB2312_CHARSET},
      {"OEM_CHARSET", 255},
  }};
  for (const auto& [text, value] : names) {
    if (core::SameText(text, name)) {
      charset = value;
      return true;
    }
  }
  return false;
}

// ---- Graphics objects ---------------------------------------------------

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

TFont::TFont() = default;

void TFont::SetName(const std::string& name) {
  if (name.empty() || name == FName) return;
  FName = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

int TFont::Size() const {
  // Points from the character height, rounded as the classic library does.
  long long scaled = -static_cast<long long>(FHeight) * 72;
  long long size = scaled >= 0 ? (scaled + PixelsPerInch / 2) / PixelsPerInch
                               : (scaled - PixelsPerInch / 2) / PixelsPerInch;
  return int(size);
}

void TFont::SetSize(int points) {
  long long height = static_cast<long long>(points) * PixelsPerInch;
  height = height >= 0 ? (height + 36) / 72 : (height - 36) / 72;
  SetHeight(-int(height));
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TFont::SetCharset(int charset) {
  if (charset == FCharset) return;
  FCharset = charset;
  Changed();
}

bool TFont::SameAs(const TFont& other) const {
  return FName == other.FName && FHeight == other.FHeight && FStyle == other.FStyle &&
         FColor == other.FColor && FCharset == other.FCharset;
}

void TFont::Assign(const TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (!font) return TGraphicsObject::Assign(source);
  if (SameAs(*font)) return;
  FName = font->FName;
  FHeight = font->FHeight;
  FStyle = font->FStyle;
  FColor = font->FColor;
  FCharset = font->FCharset;
  Changed();
}

gfx::Font TFont::ToGfxFont() const {
  gfx::Font font;
  font.Name = FName;
  font.Height = FHeight;
  // The set's bits are the gfx style bits (bold 1, italic 2, ...).
  font.Style = gfx::FontStyle(std::uint8_t(FStyle.Bits() & 0x0F));
  font.Color = ColorToRGB(FColor);
  font.CharSet = FCharset;
  return font;
}

void TPen::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TPen::SetWidth(int width) {
  width = std::max(1, width);
  if (width == FWidth) return;
  FWidth = width;
  Changed();
}

void TPen::Assign(const TPersistent& source) {
  const auto* pen = dynamic_cast<const TPen*>(&source);
  if (!pen) return TGraphicsObject::Assign(source);
  FColor = pen->FColor;
  FStyle = pen->FStyle;
  FWidth = pen->FWidth;
  Changed();
}

void TBrush::SetColor(TColor color) {
  // Choosing a colour makes a clear brush solid, as users of the classic
  // brush expect.
  if (color == FColor && FStyle != bsClear) return;
  FColor = color;
  FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TBrush::Assign(const TPersistent& source) {
  const auto* brush = dynamic_cast<const TBrush*>(&source);
  if (!brush) return TGraphicsObject::Assign(source);
  FColor = brush->FColor;
  FStyle = brush->FStyle;
  Changed();
}

// ---- TCanvas ----------------------------------------------------------

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

HDC TCanvas::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TCanvas::SetHandle(HDC context) { FHandle = context; }

void TCanvas::Require() {
  if (!FHandle) CreateHandle();
  if (!FHandle) throw core::EInvalidOperation("Canvas does not allow drawing");
  gfx::Canvas& canvas = FHandle->Canvas();
  canvas.SetFont(FFont.ToGfxFont());
  canvas.SetPen(ColorToRGB(FPen.Color()), FPen.Style() == psClear ? gfx::PenStyle::Clear : gfx::PenStyle::Solid);
  canvas.SetBrush(ColorToRGB(FBrush.Color()), FBrush.Style() == bsClear ? gfx::BrushStyle::Clear : gfx::BrushStyle::Solid);
}

gfx::Canvas& TCanvas::Target() {
  Require();
  return FHandle->Canvas();
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) { Target().MoveTo(x, y); }

void TCanvas::LineTo(int x, int y) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.LineTo(x, y);
  Changed();
}

gfx::Point TCanvas::PenPos() { return Target().PenPos(); }

void TCanvas::Polyline(std::span<const gfx::Point> points) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.Polyline(points);
  Changed();
}

void TCanvas::Rectangle(const gfx::Rect& r) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.Rectangle(r);
  Changed();
}

void TCanvas::FillRect(const gfx::Rect& r) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.FillRect(r);
  Changed();
}

void TCanvas::FrameRect(const gfx::Rect& r) {
  gfx::Canvas& canvas = Target();
  Changing();
  // The classic frame is drawn with the brush.
  canvas.FrameRect(r, ColorToRGB(FBrush.Color()));
  Changed();
}

void TCanvas::Ellipse(const gfx::Rect& r) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.Ellipse(r);
  Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.TextOut(x, y, text);
  Changed();
}

void TCanvas::TextRect(const gfx::Rect& r, int x, int y, std::string_view text) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.TextRect(r, x, y, text);
  Changed();
}

int TCanvas::DrawText(std::string_view text, gfx::Rect& rect, unsigned format) {
  gfx::Canvas& canvas = Target();
  Changing();
  int height = canvas.DrawText(text, rect, format);
  Changed();
  return height;
}

gfx::Size TCanvas::TextExtent(std::string_view text) { return Target().TextExtent(text); }

gfx::Color TCanvas::Pixel(int x, int y) { return Target().GetPixel(x, y); }

void TCanvas::SetPixel(int x, int y, TColor color) {
  gfx::Canvas& canvas = Target();
  Changing();
  canvas.SetPixel(x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  gfx::Canvas& canvas = Target();
  Changing();
  graphic.Draw(canvas, gfx::Rect::FromSize(x, y, graphic.Width(), graphic.Height()));
  Changed();
}

void TCanvas::StretchDraw(const gfx::Rect& r, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  gfx::Canvas& canvas = Target();
  Changing();
  graphic.Draw(canvas, r);
  Changed();
}

void TCanvas::CopyRect(const gfx::Rect& destination, TCanvas& source, const gfx::Rect& sourceRect) {
  gfx::Canvas& from = source.Target();
  gfx::Canvas& canvas = Target();
  // The source rectangle is in the source's logical coordinates.
  gfx::Rect device = sourceRect.Offset(from.Origin().X, from.Origin().Y);
  Changing();
  if (&from.Target() == &canvas.Target()) {
    gfx::Bitmap copy = from.Target();
    canvas.CopyRect(destination, copy, device);
  } else {
    canvas.CopyRect(destination, from.Target(), device);
  }
  Changed();
}

gfx::Rect TCanvas::ClipRect() {
  gfx::Canvas& canvas = Target();
  return canvas.ClipBox();
}

// ---- Pictures -----------------------------------------------------------

gfx::Bitmap ReadPicture(std::span<const std::uint8_t> bytes) {
  static const std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), PngSignature, 8) == 0) return gfx::ReadPng(bytes);
  return gfx::ReadBmp(bytes).Picture;
}

void TGraphic::LoadFromStream(core::TStream& stream) {
  core::TMemoryStream memory;
  memory.CopyFrom(stream, stream.Size() - stream.Position());
  LoadFromBytes(memory.Bytes());
}

void TGraphic::SaveToStream(core::TStream& stream) const {
  std::vector<std::uint8_t> bytes = SaveToBytes();
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), bytes.size());
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  core::TFileStream stream(fileName, core::fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
  core::TFileStream stream(fileName, core::fmCreate);
  SaveToStream(stream);
}

void TGraphic::SetTransparent(bool transparent) {
  if (transparent == FTransparent) return;
  FTransparent = transparent;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) : FBitmap(width, height) {}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  if (width == FBitmap.Width() && height == FBitmap.Height()) return;
  gfx::Bitmap resized(width, height);
  gfx::Rect kept = FBitmap.Bounds().Intersect(resized.Bounds());
  for (int y = kept.Top; y < kept.Bottom; ++y) {
    std::memcpy(resized.Row(y), FBitmap.Row(y), std::size_t(kept.Width()) * sizeof(gfx::Pixel));
  }
  FBitmap = std::move(resized);
  // The context's clip was made for the old size.
  FContext.reset();
  if (FCanvas) FCanvas->SetHandle(nullptr);
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TCanvas>();
    FCanvas->OnChange = [this](TCanvas*) { Changed(); };
  }
  if (!FContext) {
    FContext = std::make_unique<DeviceContext>(FBitmap);
    FCanvas->SetHandle(FContext.get());
  }
  return FCanvas.get();
}

void TBitmap::SetBitmap(gfx::Bitmap bitmap) {
  FBitmap = std::move(bitmap);
  FContext.reset();
  if (FCanvas) FCanvas->SetHandle(nullptr);
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentColor != clDefault) return FTransparentColor;
  if (FBitmap.IsEmpty()) return clDefault;
  return gfx::PixelToColor(FBitmap.GetPixel(0, FBitmap.Height() - 1));
}

void TBitmap::Draw(gfx::Canvas& canvas, const gfx::Rect& r) const {
  if (FBitmap.IsEmpty()) return;
  bool sameSize = r.Width() == FBitmap.Width() && r.Height() == FBitmap.Height();
  if (Transparent()) {
    gfx::Color key = ColorToRGB(TransparentColor());
    if (sameSize) {
      canvas.DrawTransparent(r.Left, r.Top, FBitmap, key);
    } else {
      canvas.CopyRectTransparent(r, FBitmap, FBitmap.Bounds(), key);
    }
    return;
  }
  if (sameSize) {
    canvas.Draw(r.Left, r.Top, FBitmap);
  } else {
    canvas.StretchDraw(r, FBitmap);
  }
}

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> bytes) { SetBitmap(ReadPicture(bytes)); }

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
  if (FBitmap.IsEmpty()) return {};
  return gfx::WriteBmp(FBitmap);
}

void TBitmap::Assign(const TPersistent& source) {
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
    FTransparentColor = bitmap->FTransparentColor;
    SetBitmap(bitmap->FBitmap);
    return;
  }
  if (const auto* icon = dynamic_cast<const TIcon*>(&source)) {
    SetBitmap(icon->Picture());
    return;
  }
  TGraphic::Assign(source);
}

void TIcon::SetPicture(gfx::Bitmap picture) {
  FPicture = std::move(picture);
  Changed();
}

void TIcon::Draw(gfx::Canvas& canvas, const gfx::Rect& r) const {
  if (FPicture.IsEmpty()) return;
  if (r.Width() == FPicture.Width() && r.Height() == FPicture.Height()) {
    canvas.Draw(r.Left, r.Top, FPicture);
  } else {
    canvas.StretchDraw(r, FPicture);
  }
}

void TIcon::LoadFromBytes(std::span<const std::uint8_t> bytes) { SetPicture(ReadPicture(bytes)); }

std::vector<std::uint8_t> TIcon::SaveToBytes() const {
  if (FPicture.IsEmpty()) return {};
  return gfx::WritePng(FPicture);
}

void TIcon::Assign(const TPersistent& source) {
  if (const auto* icon = dynamic_cast<const TIcon*>(&source)) {
    SetPicture(icon->FPicture);
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
    SetPicture(bitmap->Bitmap());
    return;
  }
  TGraphic::Assign(source);
}

}  // namespace ui

// ---- Published properties ----------------------------------------------------

namespace ui {

namespace {
bool ColorIdentOf(TColor color, std::string& name) { return ColorToIdent(color, name); }
bool IdentColorOf(std::string_view name, TColor& color) { return IdentToColor(name, color); }
bool CharsetIdentOf(int charset, std::string& name) { return CharsetToIdent(charset, name); }
bool IdentCharsetOf(std::string_view name, int& charset) { return IdentToCharset(name, charset); }
}  // namespace

void TFont::DefineProperties(TPropertyList<TFont>& list) {
  // Always stored, as a layout writes a whole font.
  list.IdentInteger("Charset", &TFont::Charset, &TFont::SetCharset, std::optional<int>{}, &CharsetIdentOf,
                    &IdentCharsetOf);
  list.IdentInteger("Color", &TFont::Color, &TFont::SetColor, std::optional<TColor>{}, &ColorIdentOf, &IdentColorOf);
  list.Property("Height", &TFont::Height, &TFont::SetHeight);
  list.Property("Name", &TFont::Name, &TFont::SetName);
  list.Set("Style", &TFont::Style, &TFont::SetStyle, std::optional<TFontStyles>{},
           {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
}

void TGraphic::DefineProperties(TPropertyList<TGraphic>& list) {
  list.Binary("Data", [](TGraphic& g) { return g.SaveToBytes(); },
              [](TGraphic& g, std::span<const std::uint8_t> bytes) {
                if (bytes.empty()) return;
                g.LoadFromBytes(bytes);
              });
}

}  // namespace ui
