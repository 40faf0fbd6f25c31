#pragma once

// Value readers and writers of the skin description. Every section of a skin
// is read through these, so their tolerances are the skin format:
//
//   type          text form                         absent key gives
//   rectangle     "left,top,right,bottom"           0,0,0,0
//   point         "x,y"                             0,0
//   boolean       integer; exactly 1 is true        false
//   font styles   words "fsbold" "fsitalic"         no style
//                 "fsunderline" "fsstrikeout"
//                 anywhere in the text
//   alignment     "taleftjustify" "tacenter"        centre
//                 "tarightjustify"
//   morph kind    "mkdefault" ... "mkpush"          mkDefault
//   inactive      "iebrightness" ... "ieinvert"     ieBrightness
//   effect
//   text lines    <key>linecount, <key>line0 ...    no lines
//   name list     <key>count, "0" ...               no names
//
// Integers, colours and texts are read with the INI reader's own reads; a
// value that is not a number gives the key's default there.
//
// A rectangle or point that is present but has a field without a digit is
// the one value that stops a skin from loading: the readers raise
// core::EConvertError naming the section and key.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"

namespace core {
class TMemIniFile;
}

namespace skin {

// Text alignment with the class library's numeric values.
enum class TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// How an object or control animates between its normal and active looks.
enum class TskMorphKind : std::uint8_t {
  mkDefault,
  mkGradient,
  mkLeftGradient,
  mkRightGradient,
  mkLeftSlide,
  mkRightSlide,
  mkPush,
};

// The picture effect that derives an inactive window frame from the active
// one.
enum class TskInactiveEffect : std::uint8_t {
  ieBrightness,
  ieDarkness,
  ieGrayScale,
  ieNoise,
  ieSplitBlur,
  ieInvert,
};

// What a standard caption button (or an animate object) does when clicked.
enum class TskStdCommand : std::uint8_t {
  cmClose = 0,
  cmMaximize = 1,
  cmMinimize = 2,
  cmSysMenu = 3,
  cmDefault = 4,
  cmRollUp = 5,
  cmMinimizeToTray = 6,
};

// Orientation of a gauge object: "gkhorizontal"; any other word is vertical.
enum class TskGaugeKind : std::uint8_t { gkHorizontal, gkVertical };

// How the frames of a frame gauge, regulator or animation lie in their
// picture: "fphorizontal"; any other word is vertical.
enum class TskFramesPlacement : std::uint8_t { fpHorizontal, fpVertical };

// The movement of a frame regulator: "rkround", "rkhorizontal"; any other
// word is vertical.
enum class TskRegulatorKind : std::uint8_t { rkRound, rkHorizontal, rkVertical };

// The words of the keyword values, as the description writes them.
std::string_view AlignmentWord(TAlignment alignment);
std::string_view MorphKindWord(TskMorphKind kind);
std::string_view InactiveEffectWord(TskInactiveEffect effect);
std::string_view StdCommandWord(TskStdCommand command);
std::string_view GaugeKindWord(TskGaugeKind kind);
std::string_view FramesPlacementWord(TskFramesPlacement placement);
std::string_view RegulatorKindWord(TskRegulatorKind kind);

// The fallbacks of unknown words are part of the format: an unknown
// alignment is right-aligned, an unknown morph kind mkDefault, an unknown
// effect ieGrayScale (not the default ieBrightness), an unknown command
// cmMinimizeToTray.
TAlignment AlignmentFromWord(std::string_view word);
TskMorphKind MorphKindFromWord(std::string_view word);
TskInactiveEffect InactiveEffectFromWord(std::string_view word);
TskStdCommand StdCommandFromWord(std::string_view word);
TskGaugeKind GaugeKindFromWord(std::string_view word);
TskFramesPlacement FramesPlacementFromWord(std::string_view word);
TskRegulatorKind RegulatorKindFromWord(std::string_view word);

// Longest text-lines or name list a reader builds. A count beyond it in a
// damaged skin would otherwise allocate without bound; real lists have a
// few dozen entries.
inline constexpr std::int32_t MaxListCount = 65536;

// What one load may build from the lists of its description. Each line a
// text-lines or name list asks for costs one, each entry of [SKINOBJECTS],
// [SKINCONTROLS] and [SKINAREAS] EntryCost (about what the object it makes
// weighs against an empty line). MaxListCount bounds one list; this bounds
// them all together, so that a short description cannot make thousands of
// objects ask for 65 536 lines each.
//
// While a budget is open on a thread, the list readers charge it before
// they build anything and raise core::EReadError once the total passes the
// limit. Without an open budget nothing is counted.
class DescriptionBudget {
 public:
  static constexpr std::uint64_t EntryCost = 16;
  // One per byte of the description, within these bounds: a written line
  // or entry takes several bytes, only absent lines of a list cost nothing
  // to write, and the floor is far above what a drawn skin asks for. The
  // ceiling keeps a description inflated to tens of megabytes from building
  // more than about a hundred megabytes of lists.
  static constexpr std::uint64_t MinLimit = std::uint64_t(1) << 20;
  static constexpr std::uint64_t MaxLimit = std::uint64_t(1) << 22;
  static std::uint64_t LimitFor(std::size_t descriptionBytes);

  explicit DescriptionBudget(std::uint64_t limit);
  ~DescriptionBudget();
  DescriptionBudget(const DescriptionBudget&) = delete;
  DescriptionBudget& operator=(const DescriptionBudget&) = delete;

  // Charges the budget open on this thread, if there is one.
  static void Charge(std::uint64_t items);

  std::uint64_t Used() const { return FUsed; }

 private:
  std::uint64_t FLimit;
  std::uint64_t FUsed = 0;
  DescriptionBudget* FOuter;
};

// Parses a rectangle or point value. Only digits and commas count: every
// other character is skipped, so "-5,3" is the point 5,3 and "1, 2, 3, 4"
// the rectangle 1,2,3,4; fields after the fourth (second) are ignored. A
// missing field or one without a digit raises core::EConvertError
// "Invalid value for [<section>] <key>: ..."; section and key only name the
// value in that message.
gfx::Rect ParseRect(std::string_view value, std::string_view section, std::string_view key);
gfx::Point ParsePoint(std::string_view value, std::string_view section, std::string_view key);

gfx::Rect ReadRect(const core::TMemIniFile& ini, std::string_view section, std::string_view key);
gfx::Point ReadPoint(const core::TMemIniFile& ini, std::string_view section, std::string_view key);
bool ReadBoolean(const core::TMemIniFile& ini, std::string_view section, std::string_view key);
gfx::Color ReadColor(const core::TMemIniFile& ini, std::string_view section, std::string_view key,
                     gfx::Color defaultValue);
gfx::FontStyle ReadFontStyles(const core::TMemIniFile& ini, std::string_view section,
                              std::string_view key);
TAlignment ReadAlignment(const core::TMemIniFile& ini, std::string_view section, std::string_view key);
TskMorphKind ReadMorphKind(const core::TMemIniFile& ini, std::string_view section,
                           std::string_view key);
TskInactiveEffect ReadInactiveEffect(const core::TMemIniFile& ini, std::string_view section,
                                     std::string_view key);
// Absent gives cmDefault.
TskStdCommand ReadStdCommand(const core::TMemIniFile& ini, std::string_view section,
                             std::string_view key);
// <key>linecount, then <key>line0 ... (an absent line is empty).
std::vector<std::string> ReadStrings(const core::TMemIniFile& ini, std::string_view section,
                                     std::string_view key);
// <key>count, then the keys "0" ... (an absent name is empty).
std::vector<std::string> ReadNameList(const core::TMemIniFile& ini, std::string_view section,
                                      std::string_view key);

// The writers produce exactly what the readers accept: numbers in decimal
// joined by "," without blanks, booleans as 1 or 0, style words joined by
// "," in the order bold, italic, underline, strike-out.
void WriteRect(core::TMemIniFile& ini, std::string_view section, std::string_view key,
               const gfx::Rect& value);
void WritePoint(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                const gfx::Point& value);
void WriteBoolean(core::TMemIniFile& ini, std::string_view section, std::string_view key, bool value);
void WriteColor(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                gfx::Color value);
void WriteFontStyles(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                     gfx::FontStyle value);
void WriteAlignment(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                    TAlignment value);
void WriteMorphKind(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                    TskMorphKind value);
void WriteInactiveEffect(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                         TskInactiveEffect value);
void WriteStdCommand(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                     TskStdCommand value);
void WriteStrings(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                  const std::vector<std::string>& lines);
void WriteNameList(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                   const std::vector<std::string>& names);

}  // namespace skin
