#include "SkinSheet.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "core/Encoding.h"
#include "core/MemIniFile.h"
#include "core/MemoryStream.h"
#include "core/StringUtils.h"
#include "gfx/BmpCodec.h"
#include "gfx/Canvas.h"
#include "gfx/PngCodec.h"
#include "skin/data/SkinData.h"

namespace skintool {

namespace {

constexpr int Zoom = 3;
constexpr int Margin = 16;
constexpr int TitleHeight = 22;
constexpr gfx::Pixel SheetBack = 0x5B6470;

// Where a mark is drawn: a frame picture or an active picture.
struct PictureRef {
  enum Kind { Frame, FrameMask, Active } Which = Frame;
  int Index = 0;
  friend auto operator<=>(const PictureRef&, const PictureRef&) = default;
};

struct Mark {
  PictureRef Picture;
  bool IsPoint = false;
  gfx::Rect Area;
  gfx::Point At;
  std::string Label;
  std::string Section;
};

std::vector<int> Numbers(std::string_view value) {
  std::vector<int> numbers;
  std::size_t start = 0;
  while (start <= value.size()) {
    const std::size_t comma = std::min(value.find(',', start), value.size());
    const std::string field = core::Trim(value.substr(start, comma - start));
    int number = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), number);
    if (field.empty() || result.ec != std::errc() || result.ptr != field.data() + field.size()) return {};
    numbers.push_back(number);
    start = comma + 1;
  }
  return numbers;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// What a section describes: the window-level sections give everything in
// their picture's coordinates; objects and controls measure some values
// from other rectangles of their section.
enum class SectionKind { Window, Object, Control };

// The key, relative to another key of the section, that a relative
// rectangle or point is measured from; empty for picture coordinates.
std::string RelativeBase(std::string_view kind, std::string_view key, SectionKind section) {
  if (section == SectionKind::Window) return {};
  if (section == SectionKind::Object) {
    if (key == "textrect") return "skinrect";
    if (key == "frametextrect") return "framerect";
    if (EndsWith(key, "point")) return "skinrect";
    return {};
  }
  static const std::set<std::string_view> toSkinRect = {
      "lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect", "captionrect",
      "checkimagearea", "textarea", "trackarea", "upbuttonrect", "progressarea",
      "trackbuttonrect", "itemsrect", "closebuttonrect", "hrollbuttonrect", "vrollbuttonrect"};
  if (key == "buttonrect" && kind != "trackbar") return "skinrect";
  // The pressed button of edits and combo boxes is a look in the picture;
  // elsewhere "downbuttonrect" is the place of the decreasing arrow.
  if (key == "downbuttonrect") {
    return kind == "edit" || kind == "memo" || kind == "combobox" ? std::string() : std::string("skinrect");
  }
  if (toSkinRect.count(key)) return "skinrect";
  if (key == "rollhcaptionrect" || key == "hrestorebuttonrect") return "rollhskinrect";
  if (key == "rollvcaptionrect" || key == "vrestorebuttonrect") return "rollvskinrect";
  if (key == "itemtextrect" || key == "itemcheckrect") return "itemrect";
  if (key == "fixedcelltextrect") return "fixedcellrect";
  if (key == "celltextrect") return "selectcellrect";
  if (key == "frametextrect") return "framerect";
  return {};
}

bool IsGeometryKey(std::string_view key) {
  return EndsWith(key, "rect") || EndsWith(key, "rsect") || EndsWith(key, "point") || EndsWith(key, "area");
}

class MarkCollector {
 public:
  explicit MarkCollector(const core::TMemIniFile& ini) : FIni(ini) {}

  const std::vector<Mark>& Marks() const { return FMarks; }

  // Every geometry key of a section, on the pictures given.
  void AddSection(const std::string& section, std::string_view kind, SectionKind sectionKind,
                  const std::vector<PictureRef>& pictures, std::optional<PictureRef> skinRectPicture = {}) {
    const bool isObject = sectionKind == SectionKind::Object;
    for (const std::string& key : FIni.ReadSection(section)) {
      const std::string lower = core::LowerCase(key);
      if (!IsGeometryKey(lower)) continue;
      const std::vector<int> numbers = Numbers(FIni.ReadString(section, key, ""));
      const bool isPoint = EndsWith(lower, "point");
      if (numbers.size() != (isPoint ? 2u : 4u)) continue;
      Mark mark;
      mark.IsPoint = isPoint;
      mark.Section = section;
      mark.Label = section + "." + lower;
      int dx = 0, dy = 0;
      const std::string base = RelativeBase(kind, lower, sectionKind);
      if (!base.empty()) {
        const std::vector<int> origin = Numbers(FIni.ReadString(section, base, ""));
        if (origin.size() != 4) continue;
        dx = origin[0];
        dy = origin[1];
      }
      if (isPoint) {
        if (numbers[0] == 0 || numbers[1] == 0) continue;
        mark.At = gfx::Point{numbers[0] + dx, numbers[1] + dy};
      } else {
        mark.Area = gfx::Rect{numbers[0] + dx, numbers[1] + dy, numbers[2] + dx, numbers[3] + dy};
        if (mark.Area.IsEmpty()) continue;
      }
      std::vector<PictureRef> targets = pictures;
      if (lower == "skinrect" && skinRectPicture) targets = {*skinRectPicture};
      if (isObject && (lower == "textrect" || isPoint) && skinRectPicture) targets = {*skinRectPicture};
      for (const PictureRef& picture : targets) {
        mark.Picture = picture;
        FMarks.push_back(mark);
      }
    }
  }

 private:
  const core::TMemIniFile& FIni;
  std::vector<Mark> FMarks;
};

PictureRef ActiveRef(int index) { return PictureRef{PictureRef::Active, index}; }

struct ListEntry {
  std::string Name;
  std::string Kind;
};

// The "name:kind" entries of [SKINOBJECTS] or [SKINCONTROLS].
std::vector<ListEntry> ListEntries(const core::TMemIniFile& ini, const char* section) {
  std::vector<ListEntry> entries;
  const int count = std::clamp(ini.ReadInteger(section, "count", 0), 0, 100000);
  for (int i = 0; i < count; ++i) {
    const std::string entry = ini.ReadString(section, std::to_string(i), "");
    const std::size_t colon = entry.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    entries.push_back({entry.substr(0, colon), entry.substr(colon + 1)});
  }
  return entries;
}

std::vector<Mark> CollectMarks(const core::TMemIniFile& ini) {
  MarkCollector marks(ini);
  marks.AddSection("FORMINFO", "", SectionKind::Window, {PictureRef{PictureRef::Frame, 0}, PictureRef{PictureRef::FrameMask, 0}});
  for (const char* window : {"POPUPWINDOW", "HINTWINDOW"}) {
    std::vector<PictureRef> pictures;
    for (const char* key : {"windowpictureindex", "maskpictureindex"}) {
      const int index = ini.ReadInteger(window, key, -1);
      if (index >= 0) pictures.push_back(ActiveRef(index));
    }
    marks.AddSection(window, "", SectionKind::Window, pictures);
  }
  for (const auto& [name, kind] : ListEntries(ini, "SKINOBJECTS")) {
    const int active = ini.ReadInteger(name, "activepictureindex", -1);
    const bool inActive = ini.ReadInteger(name, "skinrectinapicture", 0) == 1;
    const PictureRef frame{PictureRef::Frame, 0};
    const PictureRef skinRect = inActive && active >= 0 ? ActiveRef(active) : frame;
    std::vector<PictureRef> pictures;
    if (active >= 0) pictures.push_back(ActiveRef(active));
    marks.AddSection(name, kind, SectionKind::Object, pictures, skinRect);
  }
  for (const auto& [name, kind] : ListEntries(ini, "SKINCONTROLS")) {
    const int picture = ini.ReadInteger(name, "pictureindex", -1);
    if (picture < 0) continue;
    marks.AddSection(name, kind, SectionKind::Control, {ActiveRef(picture)});
  }
  return marks.Marks();
}

gfx::Color LabelColor(const std::string& section) {
  // Light colours, readable on the dark label plates.
  static const gfx::Color colors[] = {
      gfx::MakeColor(255, 120, 150), gfx::MakeColor(120, 230, 130), gfx::MakeColor(255, 225, 25),
      gfx::MakeColor(100, 190, 255), gfx::MakeColor(255, 170, 90),  gfx::MakeColor(210, 160, 255),
      gfx::MakeColor(70, 240, 240),  gfx::MakeColor(250, 130, 240), gfx::MakeColor(210, 245, 60),
      gfx::MakeColor(250, 200, 220), gfx::MakeColor(120, 225, 210), gfx::MakeColor(255, 255, 255)};
  std::size_t hash = 0;
  for (unsigned char c : section) hash = hash * 31 + c;
  return colors[hash % std::size(colors)];
}

struct SheetPicture {
  PictureRef Ref;
  std::string Title;
  const gfx::Bitmap* Picture = nullptr;
  int Top = 0;
};

class SheetPainter {
 public:
  SheetPainter(gfx::Bitmap& sheet) : FSheet(sheet), FCanvas(sheet) {
    gfx::Font font;
    font.Name = "DejaVu Sans";
    font.Height = -10;
    FCanvas.SetFont(font);
  }

  void Title(int x, int y, const std::string& text) {
    gfx::Font font = FCanvas.Font();
    font.Height = -13;
    font.Style = gfx::FontStyle::Bold;
    font.Color = gfx::MakeColor(255, 255, 255);
    FCanvas.SetFont(font);
    FCanvas.SetBrush(0, gfx::BrushStyle::Clear);
    FCanvas.TextOut(x, y, text);
    font.Height = -10;
    font.Style = gfx::FontStyle::None;
    FCanvas.SetFont(font);
  }

  void Picture(int x, int y, const gfx::Bitmap& picture) {
    gfx::StretchRect(FSheet, gfx::Rect{x, y, x + picture.Width() * Zoom, y + picture.Height() * Zoom}, picture,
                     picture.Bounds());
  }

  void Outline(const gfx::Rect& r, gfx::Color color) {
    FCanvas.SetPen(color);
    FCanvas.SetBrush(0, gfx::BrushStyle::Clear);
    FCanvas.Rectangle(r);
  }

  void Cross(gfx::Point p, gfx::Color color) {
    FCanvas.SetPen(color);
    FCanvas.MoveTo(p.X - 5, p.Y);
    FCanvas.LineTo(p.X + 6, p.Y);
    FCanvas.MoveTo(p.X, p.Y - 5);
    FCanvas.LineTo(p.X, p.Y + 6);
  }

  // A label on a dark plate, placed where it hides no other label when it
  // can be.
  void Label(const gfx::Rect& anchor, const std::string& text, gfx::Color color) {
    const gfx::Size size = FCanvas.TextExtent(text);
    const int w = size.Width + 4;
    const int h = size.Height + 2;
    const gfx::Rect candidates[] = {
        gfx::Rect::FromSize(anchor.Left + 2, anchor.Top + 2, w, h),
        gfx::Rect::FromSize(anchor.Left, anchor.Top - h - 1, w, h),
        gfx::Rect::FromSize(anchor.Left, anchor.Bottom + 1, w, h),
        gfx::Rect::FromSize(anchor.Right + 2, anchor.Top, w, h),
        gfx::Rect::FromSize(anchor.Left - w - 2, anchor.Top, w, h),
        gfx::Rect::FromSize(anchor.Right + 2, anchor.Bottom - h, w, h),
        gfx::Rect::FromSize(anchor.Left + 2, anchor.Bottom - h - 2, w, h),
    };
    gfx::Rect chosen = candidates[0];
    for (const gfx::Rect& candidate : candidates) {
      const bool insideAnchor = candidate.Intersect(anchor) == candidate;
      if (&candidate == &candidates[0] && !insideAnchor) continue;
      if (candidate.Intersect(FSheet.Bounds()) != candidate) continue;
      const bool free = std::none_of(FPlaced.begin(), FPlaced.end(),
                                     [&](const gfx::Rect& placed) { return !placed.Intersect(candidate).IsEmpty(); });
      if (free) {
        chosen = candidate;
        break;
      }
    }
    FPlaced.push_back(chosen);
    for (int y = chosen.Top; y < chosen.Bottom; ++y) {
      for (int x = chosen.Left; x < chosen.Right; ++x) {
        if (!FSheet.Bounds().Contains(gfx::Point{x, y})) continue;
        const gfx::Pixel p = FSheet.GetPixel(x, y);
        // Dark enough to read the label, light enough to see what it covers.
        FSheet.SetPixel(x, y, gfx::MakePixel(gfx::PixelRed(p) * 2 / 5, gfx::PixelGreen(p) * 2 / 5,
                                             gfx::PixelBlue(p) * 2 / 5));
      }
    }
    gfx::Font font = FCanvas.Font();
    font.Color = color;
    FCanvas.SetFont(font);
    FCanvas.SetBrush(0, gfx::BrushStyle::Clear);
    FCanvas.TextOut(chosen.Left + 2, chosen.Top + 1, text);
  }

 private:
  gfx::Bitmap& FSheet;
  gfx::Canvas FCanvas;
  std::vector<gfx::Rect> FPlaced;
};

std::string Describe(const gfx::Bitmap& picture) {
  return std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) + ", " +
         std::to_string(picture.SourceBits()) + " bits";
}

}  // namespace

void Sheet(const std::string& inPath, InputForm form, const std::string& outPath) {
  std::vector<std::uint8_t> block = gfx::ReadFileBytes(inPath, skin::MaxCompressedBlockBytes + 8);
  if (form == InputForm::CompressedFile) {
    skin::CompressedSkinFile file = skin::ParseCompressedSkinFile(block);
    if (file.Version > skin::MaxContainerVersion) {
      throw ToolError("unsupported container version " + std::to_string(file.Version));
    }
    block = std::move(file.Block);
  }
  if (block.empty()) throw ToolError("the compressed block is empty");
  core::TMemoryStream inflated;
  skin::InflateSkinBlock(block, inflated);
  const skin::SkinContainer container = skin::ReadSkinContainer(inflated.Bytes(), skin::DecodePictures::Yes);
  if (!container.IsSupported()) throw ToolError("unsupported container version " + std::to_string(container.Version));
  const core::TMemIniFile ini(core::GbkToUtf8(container.Description));

  std::vector<SheetPicture> pictures;
  const auto& frame = container.FrameEntry(skin::FramePicture::Picture).Bitmap;
  const auto& mask = container.FrameEntry(skin::FramePicture::Mask).Bitmap;
  if (!frame.IsEmpty()) {
    pictures.push_back({PictureRef{PictureRef::Frame, 0},
                        "picture: " + ini.ReadString("PICTURES", "picture", "") + " (" + Describe(frame) + ")", &frame});
  }
  if (!mask.IsEmpty()) {
    pictures.push_back({PictureRef{PictureRef::FrameMask, 0},
                        "mask: " + ini.ReadString("PICTURES", "mask", "") + " (" + Describe(mask) + ")", &mask});
  }
  for (std::size_t i = 0; i < container.Active.size(); ++i) {
    const gfx::Bitmap& picture = container.Active[i].Bitmap;
    if (picture.IsEmpty()) continue;
    pictures.push_back({ActiveRef(int(i)),
                        std::to_string(i) + ": " + ini.ReadString("PICTURES", std::to_string(i), "") + " (" +
                            Describe(picture) + ")",
                        &picture});
  }
  if (pictures.empty()) throw ToolError("the skin has no pictures");

  int width = 0;
  int height = Margin;
  for (SheetPicture& picture : pictures) {
    width = std::max(width, picture.Picture->Width() * Zoom);
    picture.Top = height + TitleHeight;
    height = picture.Top + picture.Picture->Height() * Zoom + Margin + 24;
  }
  gfx::Bitmap sheet(width + 2 * Margin + 160, height);
  sheet.Fill(SheetBack);
  SheetPainter painter(sheet);

  // Identical rectangles of one picture share one outline and one label.
  struct Group {
    std::string Labels;
    std::string Section;
  };
  std::map<std::tuple<PictureRef, bool, int, int, int, int>, Group> groups;
  for (const Mark& mark : CollectMarks(ini)) {
    const auto key = mark.IsPoint ? std::make_tuple(mark.Picture, true, mark.At.X, mark.At.Y, 0, 0)
                                  : std::make_tuple(mark.Picture, false, mark.Area.Left, mark.Area.Top,
                                                    mark.Area.Right, mark.Area.Bottom);
    Group& group = groups[key];
    if (group.Labels.empty()) {
      group.Labels = mark.Label;
      group.Section = mark.Section;
    } else if (group.Labels.size() < 90) {
      group.Labels += ", " + mark.Label;
    } else if (group.Labels.back() != '.') {
      group.Labels += " ...";
    }
  }

  for (const SheetPicture& picture : pictures) {
    painter.Title(Margin, picture.Top - TitleHeight + 2, picture.Title);
    painter.Picture(Margin, picture.Top, *picture.Picture);
  }
  // Outlines first, labels over them, so no outline crosses a label.
  struct Placed {
    gfx::Rect Anchor;
    std::string Text;
    gfx::Color Color;
  };
  std::vector<Placed> labels;
  for (const auto& [key, group] : groups) {
    const auto& [ref, isPoint, a, b, c, d] = key;
    const auto found = std::find_if(pictures.begin(), pictures.end(), [&](const SheetPicture& p) { return p.Ref == ref; });
    if (found == pictures.end()) continue;
    const gfx::Color color = LabelColor(group.Section);
    if (isPoint) {
      const gfx::Point at{Margin + a * Zoom, found->Top + b * Zoom};
      painter.Cross(at, color);
      labels.push_back({gfx::Rect{at.X + 3, at.Y + 3, at.X + 4, at.Y + 4}, group.Labels, color});
    } else {
      const gfx::Rect r{Margin + a * Zoom, found->Top + b * Zoom, Margin + c * Zoom, found->Top + d * Zoom};
      painter.Outline(r, color);
      labels.push_back({r, group.Labels, color});
    }
  }
  // Small areas first: they have the fewest places to put a label.
  std::stable_sort(labels.begin(), labels.end(), [](const Placed& x, const Placed& y) {
    return x.Anchor.Width() * x.Anchor.Height() < y.Anchor.Width() * y.Anchor.Height();
  });
  for (const Placed& label : labels) painter.Label(label.Anchor, label.Text, label.Color);

  gfx::SavePngFile(outPath, sheet);
}

}  // namespace skintool
