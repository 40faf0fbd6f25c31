#include "skin/data/SkinUtils.Readers.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

#include "core/Exception.h"
#include "core/MemIniFile.h"

namespace skin {

namespace {

template <class E>
struct TKeyword {
  E Value;
  std::string_view Word;
};

constexpr std::array<TKeyword<TAlignment>, 3> AlignmentWords{{
    {TAlignment::taLeftJustify, "taleftjustify"},
    {TAlignment::taRightJustify, "tarightjustify"},
    {TAlignment::taCenter, "tacenter"},
}};

constexpr std::array<TKeyword<TskMorphKind>, 7> MorphKindWords{{
    {TskMorphKind::mkDefault, "mkdefault"},
    {TskMorphKind::mkGradient, "mkgradient"},
    {TskMorphKind::mkLeftGradient, "mkleftgradient"},
    {TskMorphKind::mkRightGradient, "mkrightgradient"},
    {TskMorphKind::mkLeftSlide, "mkleftslide"},
    {TskMorphKind::mkRightSlide, "mkrightslide"},
    {TskMorphKind::mkPush, "mkpush"},
}};

constexpr std::array<TKeyword<TskInactiveEffect>, 6> InactiveEffectWords{{
    {TskInactiveEffect::ieBrightness, "iebrightness"},
    {TskInactiveEffect::ieDarkness, "iedarkness"},
    {TskInactiveEffect::ieGrayScale, "iegrayscale"},
    {TskInactiveEffect::ieNoise, "ienoise"},
    {TskInactiveEffect::ieSplitBlur, "iesplitblur"},
    {TskInactiveEffect::ieInvert, "ieinvert"},
}};

constexpr std::array<TKeyword<TskStdCommand>, 7> StdCommandWords{{
    {TskStdCommand::cmClose, "cmclose"},
    {TskStdCommand::cmMaximize, "cmmaximize"},
    {TskStdCommand::cmMinimize, "cmminimize"},
    {TskStdCommand::cmSysMenu, "cmsysmenu"},
    {TskStdCommand::cmDefault, "cmdefault"},
    {TskStdCommand::cmRollUp, "cmrollup"},
    {TskStdCommand::cmMinimizeToTray, "cmminimizetotray"},
}};

constexpr std::array<TKeyword<TskGaugeKind>, 2> GaugeKindWords{{
    {TskGaugeKind::gkHorizontal, "gkhorizontal"},
    {TskGaugeKind::gkVertical, "gkvertical"},
}};

constexpr std::array<TKeyword<TskFramesPlacement>, 2> FramesPlacementWords{{
    {TskFramesPlacement::fpHorizontal, "fphorizontal"},
    {TskFramesPlacement::fpVertical, "fpvertical"},
}};

constexpr std::array<TKeyword<TskRegulatorKind>, 3> RegulatorKindWords{{
    {TskRegulatorKind::rkRound, "rkround"},
    {TskRegulatorKind::rkHorizontal, "rkhorizontal"},
    {TskRegulatorKind::rkVertical, "rkvertical"},
}};

// Keywords compare exactly, letter case included.
template <class E, std::size_t N>
E FromWord(const std::array<TKeyword<E>, N>& table, std::string_view word, E unknown) {
  for (const TKeyword<E>& entry : table) {
    if (entry.Word == word) return entry.Value;
  }
  return unknown;
}

template <class E, std::size_t N>
std::string_view ToWord(const std::array<TKeyword<E>, N>& table, E value) {
  for (const TKeyword<E>& entry : table) {
    if (entry.Value == value) return entry.Word;
  }
  // Only a value cast from outside the enumeration gets here; the first word
  // keeps the written text readable.
  return table.front().Word;
}

constexpr std::array<std::pair<gfx::FontStyle, std::string_view>, 4> FontStyleWords{{
    {gfx::FontStyle::Bold, "fsbold"},
    {gfx::FontStyle::Italic, "fsitalic"},
    {gfx::FontStyle::Underline, "fsunderline"},
    {gfx::FontStyle::StrikeOut, "fsstrikeout"},
}};

[[noreturn]] void RaiseInvalidValue(std::string_view value, std::string_view section,
                                    std::string_view key, std::string_view field) {
  throw core::EConvertError("Invalid value for [" + std::string(section) + "] " + std::string(key) +
                            ": '" + std::string(value) + "' ('" + std::string(field) +
                            "' is not a valid integer value)");
}

// Walks the value keeping only digits, "," ending a field; fills `Count`
// fields and converts them from decimal.
template <std::size_t Count>
std::array<int, Count> ParseFields(std::string_view value, std::string_view section,
                                   std::string_view key) {
  std::array<std::string, Count> fields;
  std::size_t field = 0;
  std::string accumulator;
  for (char c : value) {
    if (c == ',') {
      if (field < Count) fields[field] = std::move(accumulator);
      accumulator.clear();
      ++field;
    } else if (c >= '0' && c <= '9') {
      accumulator += c;
    }
  }
  if (field < Count) fields[field] = std::move(accumulator);

  std::array<int, Count> numbers{};
  for (std::size_t i = 0; i < Count; ++i) {
    std::int32_t number = 0;
    // Only digits are left, so the one failures are an empty field and a
    // number beyond 32 bits.
    if (fields[i].empty() || !core::TMemIniFile::TryParseInteger(fields[i], number)) {
      RaiseInvalidValue(value, section, key, fields[i]);
    }
    numbers[i] = number;
  }
  return numbers;
}

std::string Joined(std::initializer_list<int> numbers) {
  std::string text;
  for (int number : numbers) {
    if (!text.empty()) text += ',';
    text += std::to_string(number);
  }
  return text;
}

std::vector<std::string> ReadNumberedList(const core::TMemIniFile& ini, std::string_view section,
                                          const std::string& countKey, const std::string& prefix) {
  std::int32_t count = ini.ReadInteger(section, countKey, 0);
  if (count > MaxListCount) count = MaxListCount;
  if (count > 0) DescriptionBudget::Charge(std::uint64_t(count));
  std::vector<std::string> lines;
  for (std::int32_t i = 0; i < count; ++i) {
    lines.push_back(ini.ReadString(section, prefix + std::to_string(i), ""));
  }
  return lines;
}

void WriteNumberedList(core::TMemIniFile& ini, std::string_view section, const std::string& countKey,
                       const std::string& prefix, const std::vector<std::string>& lines) {
  ini.WriteInteger(section, countKey, static_cast<std::int32_t>(lines.size()));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ini.WriteString(section, prefix + std::to_string(i), lines[i]);
  }
}

thread_local DescriptionBudget* OpenBudget = nullptr;

}  // namespace

std::uint64_t DescriptionBudget::LimitFor(std::size_t descriptionBytes) {
  return std::clamp<std::uint64_t>(descriptionBytes, MinLimit, MaxLimit);
}

DescriptionBudget::DescriptionBudget(std::uint64_t limit) : FLimit(limit), FOuter(OpenBudget) {
  OpenBudget = this;
}

DescriptionBudget::~DescriptionBudget() { OpenBudget = FOuter; }

void DescriptionBudget::Charge(std::uint64_t items) {
  DescriptionBudget* budget = OpenBudget;
  if (budget == nullptr) return;
  budget->FUsed += items;
  if (budget->FUsed > budget->FLimit) {
    throw core::EReadError("the skin description is too large to read safely: its lists ask for more than " +
                           std::to_string(budget->FLimit) + " entries and lines");
  }
}

std::string_view AlignmentWord(TAlignment alignment) { return ToWord(AlignmentWords, alignment); }
std::string_view MorphKindWord(TskMorphKind kind) { return ToWord(MorphKindWords, kind); }
std::string_view InactiveEffectWord(TskInactiveEffect effect) {
  return ToWord(InactiveEffectWords, effect);
}
std::string_view StdCommandWord(TskStdCommand command) { return ToWord(StdCommandWords, command); }

std::string_view GaugeKindWord(TskGaugeKind kind) { return ToWord(GaugeKindWords, kind); }
std::string_view FramesPlacementWord(TskFramesPlacement placement) {
  return ToWord(FramesPlacementWords, placement);
}
std::string_view RegulatorKindWord(TskRegulatorKind kind) { return ToWord(RegulatorKindWords, kind); }

TAlignment AlignmentFromWord(std::string_view word) {
  // Only "tacenter" and "taleftjustify" are looked for; everything else,
  // a misspelling included, is right-aligned.
  if (word == "tacenter") return TAlignment::taCenter;
  if (word == "taleftjustify") return TAlignment::taLeftJustify;
  return TAlignment::taRightJustify;
}

TskMorphKind MorphKindFromWord(std::string_view word) {
  return FromWord(MorphKindWords, word, TskMorphKind::mkDefault);
}

TskInactiveEffect InactiveEffectFromWord(std::string_view word) {
  return FromWord(InactiveEffectWords, word, TskInactiveEffect::ieGrayScale);
}

TskStdCommand StdCommandFromWord(std::string_view word) {
  return FromWord(StdCommandWords, word, TskStdCommand::cmMinimizeToTray);
}

TskGaugeKind GaugeKindFromWord(std::string_view word) {
  return FromWord(GaugeKindWords, word, TskGaugeKind::gkVertical);
}

TskFramesPlacement FramesPlacementFromWord(std::string_view word) {
  return FromWord(FramesPlacementWords, word, TskFramesPlacement::fpVertical);
}

TskRegulatorKind RegulatorKindFromWord(std::string_view word) {
  return FromWord(RegulatorKindWords, word, TskRegulatorKind::rkVertical);
}

gfx::Rect ParseRect(std::string_view value, std::string_view section, std::string_view key) {
  std::array<int, 4> fields = ParseFields<4>(value, section, key);
  return gfx::Rect{fields[0], fields[1], fields[2], fields[3]};
}

gfx::Point ParsePoint(std::string_view value, std::string_view section, std::string_view key) {
  std::array<int, 2> fields = ParseFields<2>(value, section, key);
  return gfx::Point{fields[0], fields[1]};
}

gfx::Rect ReadRect(const core::TMemIniFile& ini, std::string_view section, std::string_view key) {
  return ParseRect(ini.ReadString(section, key, "0,0,0,0"), section, key);
}

gfx::Point ReadPoint(const core::TMemIniFile& ini, std::string_view section, std::string_view key) {
  return ParsePoint(ini.ReadString(section, key, "0,0"), section, key);
}

bool ReadBoolean(const core::TMemIniFile& ini, std::string_view section, std::string_view key) {
  return ini.ReadInteger(section, key, 0) == 1;
}

gfx::Color ReadColor(const core::TMemIniFile& ini, std::string_view section, std::string_view key,
                     gfx::Color defaultValue) {
  return static_cast<gfx::Color>(
      ini.ReadInteger(section, key, static_cast<std::int32_t>(defaultValue)));
}

gfx::FontStyle ReadFontStyles(const core::TMemIniFile& ini, std::string_view section,
                              std::string_view key) {
  std::string value = ini.ReadString(section, key, "");
  gfx::FontStyle styles = gfx::FontStyle::None;
  for (const auto& [style, word] : FontStyleWords) {
    if (value.find(word) != std::string::npos) styles |= style;
  }
  return styles;
}

TAlignment ReadAlignment(const core::TMemIniFile& ini, std::string_view section, std::string_view key) {
  return AlignmentFromWord(ini.ReadString(section, key, "tacenter"));
}

TskMorphKind ReadMorphKind(const core::TMemIniFile& ini, std::string_view section,
                           std::string_view key) {
  return MorphKindFromWord(ini.ReadString(section, key, "mkdefault"));
}

TskInactiveEffect ReadInactiveEffect(const core::TMemIniFile& ini, std::string_view section,
                                     std::string_view key) {
  return InactiveEffectFromWord(ini.ReadString(section, key, "iebrightness"));
}

TskStdCommand ReadStdCommand(const core::TMemIniFile& ini, std::string_view section,
                             std::string_view key) {
  return StdCommandFromWord(ini.ReadString(section, key, "cmdefault"));
}

std::vector<std::string> ReadStrings(const core::TMemIniFile& ini, std::string_view section,
                                     std::string_view key) {
  std::string prefix(key);
  return ReadNumberedList(ini, section, prefix + "linecount", prefix + "line");
}

std::vector<std::string> ReadNameList(const core::TMemIniFile& ini, std::string_view section,
                                      std::string_view key) {
  return ReadNumberedList(ini, section, std::string(key) + "count", "");
}

void WriteRect(core::TMemIniFile& ini, std::string_view section, std::string_view key,
               const gfx::Rect& value) {
  ini.WriteString(section, key, Joined({value.Left, value.Top, value.Right, value.Bottom}));
}

void WritePoint(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                const gfx::Point& value) {
  ini.WriteString(section, key, Joined({value.X, value.Y}));
}

void WriteBoolean(core::TMemIniFile& ini, std::string_view section, std::string_view key, bool value) {
  ini.WriteInteger(section, key, value ? 1 : 0);
}

void WriteColor(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                gfx::Color value) {
  // Written as the signed 32-bit number the integer reader takes back, so
  // system colour values (high bit set) survive.
  ini.WriteInteger(section, key, static_cast<std::int32_t>(value));
}

void WriteFontStyles(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                     gfx::FontStyle value) {
  std::string text;
  for (const auto& [style, word] : FontStyleWords) {
    if (!gfx::HasStyle(value, style)) continue;
    if (!text.empty()) text += ',';
    text += word;
  }
  ini.WriteString(section, key, text);
}

void WriteAlignment(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                    TAlignment value) {
  ini.WriteString(section, key, AlignmentWord(value));
}

void WriteMorphKind(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                    TskMorphKind value) {
  ini.WriteString(section, key, MorphKindWord(value));
}

void WriteInactiveEffect(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                         TskInactiveEffect value) {
  ini.WriteString(section, key, InactiveEffectWord(value));
}

void WriteStdCommand(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                     TskStdCommand value) {
  ini.WriteString(section, key, StdCommandWord(value));
}

void WriteStrings(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                  const std::vector<std::string>& lines) {
  std::string prefix(key);
  WriteNumberedList(ini, section, prefix + "linecount", prefix + "line", lines);
}

void WriteNameList(core::TMemIniFile& ini, std::string_view section, std::string_view key,
                   const std::vector<std::string>& names) {
  WriteNumberedList(ini, section, std::string(key) + "count", "", names);
}

}  // namespace skin
