#include "gfx/TextLayout.h"

#include "gfx/TextFormat.h"

namespace gfx {

namespace {

constexpr std::size_t None = std::u32string_view::npos;

// Closing punctuation that must not start a line.
bool IsClosingPunctuation(char32_t c) {
  switch (c) {
    case U'\u3001': case U'\u3002': case U'\uFF0C': case U'\uFF0E': case U'\uFF1A':
    case U'\uFF1B': case U'\uFF01': case U'\uFF1F': case U'\uFF09': case U'\u300D':
    case U'\u300F': case U'\u3011': case U'\u300B': case U'\u3009':
      return true;
    default:
      return false;
  }
}

// May a wrapped line start at text[i]?
bool IsBreakBefore(std::u32string_view text, std::size_t i) {
  char32_t before = text[i - 1], here = text[i];
  if (here == U' ') return false;
  if (before == U' ' || before == U'\t') return true;
  if (IsClosingPunctuation(here)) return false;
  return IsWideBreakCharacter(before) || IsWideBreakCharacter(here);
}

class LineBuilder {
 public:
  LineBuilder(unsigned format, const TextMeasure& measure)
      : FExpandTabs((format & DT_EXPANDTABS) != 0), FMeasure(measure) {}

  // Pen position after c when c starts at x.
  int Advance(int x, char32_t c) const {
    if (c == U'\t') {
      if (!FExpandTabs || FMeasure.TabWidth <= 0) return x;
      return (x / FMeasure.TabWidth + 1) * FMeasure.TabWidth;
    }
    return x + FMeasure.Advance(c);
  }

  TextLine Make(std::u32string_view text, const std::vector<bool>& marks, std::size_t from,
                std::size_t to) const {
    TextLine line;
    line.Text.assign(text.substr(from, to - from));
    line.Underlined.assign(marks.begin() + std::ptrdiff_t(from), marks.begin() + std::ptrdiff_t(to));
    Place(line);
    return line;
  }

  void Place(TextLine& line) const {
    line.Positions.clear();
    line.Positions.reserve(line.Text.size() + 1);
    int x = 0;
    for (char32_t c : line.Text) {
      line.Positions.push_back(x);
      x = Advance(x, c);
    }
    line.Positions.push_back(x);
  }

  void Ellipsize(TextLine& line, int width) const {
    if (line.Width() <= width) return;
    const std::u32string_view dots = U"...";
    int dotsWidth = 0;
    for (char32_t c : dots) dotsWidth = Advance(dotsWidth, c);
    std::size_t keep = line.Text.size();
    while (keep > 0 && line.Positions[keep] + dotsWidth > width) --keep;
    line.Text.resize(keep);
    line.Underlined.resize(keep);
    line.Text.append(dots);
    line.Underlined.resize(line.Text.size(), false);
    Place(line);
  }

 private:
  bool FExpandTabs;
  const TextMeasure& FMeasure;
};

}  // namespace

bool IsWideBreakCharacter(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3040 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::u32string StripPrefixes(std::u32string_view text, std::vector<bool>& underlined) {
  std::u32string out;
  out.reserve(text.size());
  underlined.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'&') {
      out.push_back(text[i]);
      underlined.push_back(false);
      continue;
    }
    if (i + 1 >= text.size()) break;  // a "&" at the end marks nothing
    ++i;
    out.push_back(text[i]);
    underlined.push_back(text[i] != U'&');
  }
  return out;
}

std::vector<TextLine> LayoutText(std::u32string_view text, unsigned format, int width,
                                 const TextMeasure& measure) {
  std::vector<bool> marks;
  std::u32string plain;
  if (format & DT_NOPREFIX) {
    plain.assign(text);
    marks.assign(plain.size(), false);
  } else {
    plain = StripPrefixes(text, marks);
  }
  std::vector<TextLine> lines;
  if (plain.empty()) return lines;

  // Paragraphs: the text between line breaks.
  std::vector<std::pair<std::size_t, std::size_t>> paragraphs;
  if (format & DT_SINGLELINE) {
    paragraphs.emplace_back(0, plain.size());
  } else {
    std::size_t start = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (plain[i] != U'\r' && plain[i] != U'\n') continue;
      paragraphs.emplace_back(start, i);
      if (plain[i] == U'\r' && i + 1 < plain.size() && plain[i + 1] == U'\n') ++i;
      start = i + 1;
    }
    if (start < plain.size()) paragraphs.emplace_back(start, plain.size());
  }

  LineBuilder builder(format, measure);
  const bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
  const std::u32string_view view(plain);
  for (auto [from, to] : paragraphs) {
    if (!wrap) {
      lines.push_back(builder.Make(view, marks, from, to));
      continue;
    }
    std::size_t start = from;
    bool firstLine = true;
    for (;;) {
      if (!firstLine) {
        // The spaces at a break belong to neither line.
        while (start < to && view[start] == U' ') ++start;
        if (start >= to) break;
      }
      firstLine = false;
      int x = 0;
      std::size_t lastBreak = None;
      std::size_t i = start;
      for (; i < to; ++i) {
        if (i > start && IsBreakBefore(view, i)) lastBreak = i;
        int next = builder.Advance(x, view[i]);
        // Spaces may hang past the edge; a word longer than the line is
        // not split and is cut by the clip instead.
        if (next > width && view[i] != U' ' && lastBreak != None) break;
        x = next;
      }
      if (i >= to) {
        lines.push_back(builder.Make(view, marks, start, to));
        break;
      }
      std::size_t end = lastBreak;
      while (end > start && view[end - 1] == U' ') --end;
      lines.push_back(builder.Make(view, marks, start, end));
      start = lastBreak;
    }
  }

  if (format & DT_END_ELLIPSIS) {
    for (TextLine& line : lines) builder.Ellipsize(line, width);
  }
  return lines;
}

}  // namespace gfx
