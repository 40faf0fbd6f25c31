// The edit engine behind TEdit and TMemo: the text model (lines, wrapped
// rows, one level of undo), then the messages (keys, mouse, scrolling,
// clipboard), then painting.

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <vector>

#include "gfx/FontEngine.h"
#include "gfx/TextLayout.h"
#include "gfx/TextUtf8.h"
#include "platform/VirtualKeys.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/Painting.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/Windows.h"

namespace ui {

namespace {

constexpr UINT_PTR CaretTimer = 1;
constexpr UINT CaretBlinkTime = 530;
constexpr int WheelRows = 3;
// A run of rows moved in the row index by point updates; farther from the
// end the index is rebuilt (editing in the middle of a long text).
constexpr int ShiftLimit = 64;

struct Pos {
  int Line = 0;
  int Column = 0;
  friend bool operator==(const Pos&, const Pos&) = default;
  friend bool operator<(const Pos& a, const Pos& b) {
    return a.Line < b.Line || (a.Line == b.Line && a.Column < b.Column);
  }
  friend bool operator<=(const Pos& a, const Pos& b) { return !(b < a); }
};

// Prefix sums of the rows each line wraps into (a Fenwick tree), so that
// the row of a line and the line of a row cost O(log n) and appending a
// line costs the same at any length.
class RowIndex {
 public:
  int Size() const { return int(FValues.size()); }
  long long Total() const { return FTotal; }
  int Get(int index) const { return FValues[std::size_t(index)]; }

  void Build(std::vector<int> values) {
    FValues = std::move(values);
    FTree.assign(FValues.size(), 0);
    FTotal = 0;
    for (std::size_t i = 0; i < FValues.size(); ++i) {
      FTotal += FValues[i];
      FTree[i] += FValues[i];
      std::size_t parent = i | (i + 1);
      if (parent < FTree.size()) FTree[parent] += FTree[i];
    }
  }

  void Set(int index, int value) {
    int delta = value - FValues[std::size_t(index)];
    FValues[std::size_t(index)] = value;
    Add(index, delta);
  }

  // Rows of the lines before index.
  long long Prefix(int index) const {
    long long sum = 0;
    for (int i = index - 1; i >= 0; i = (i & (i + 1)) - 1) sum += FTree[std::size_t(i)];
    return sum;
  }

  // The line holding row (0-based), and the row's place inside it.
  int Find(long long row, int& rowInLine) const {
    int index = 0;
    int step = 1;
    while (step * 2 <= Size()) step *= 2;
    long long rest = row;
    // Binary lifting over the tree (1-based positions).
    int position = 0;
    for (; step > 0; step /= 2) {
      int next = position + step;
      if (next <= Size() && FTree[std::size_t(next - 1)] <= rest) {
        position = next;
        rest -= FTree[std::size_t(next - 1)];
      }
    }
    index = std::min(position, Size() - 1);
    rowInLine = int(position >= Size() ? FValues.back() - 1 : rest);
    return index;
  }

  void Insert(int index, int value) {
    if (Size() - index > ShiftLimit) {
      std::vector<int> values = FValues;
      values.insert(values.begin() + index, value);
      Build(std::move(values));
      return;
    }
    // Shift the tail by point updates, then grow by one node whose
    // children are all correct already.
    int size = Size();
    int carry = value;
    for (int i = index; i < size; ++i) {
      int old = FValues[std::size_t(i)];
      FValues[std::size_t(i)] = carry;
      Add(i, carry - old);
      carry = old;
    }
    PushBack(carry);
  }

  void Erase(int index) {
    int size = Size();
    if (size - index > ShiftLimit) {
      std::vector<int> values = FValues;
      values.erase(values.begin() + index);
      Build(std::move(values));
      return;
    }
    for (int i = index; i + 1 < size; ++i) Set(i, FValues[std::size_t(i) + 1]);
    // The last node feeds no other node.
    FTotal -= FValues.back();
    FValues.pop_back();
    FTree.pop_back();
  }

 private:
  void Add(int index, int delta) {
    FTotal += delta;
    for (std::size_t i = std::size_t(index); i < FTree.size(); i |= i + 1) FTree[i] += delta;
  }
  void PushBack(int value) {
    std::size_t i = FValues.size();
    FValues.push_back(value);
    // Node i covers (i & (i + 1)) .. i: its value plus the nodes below it.
    int node = value;
    std::size_t low = i & (i + 1);
    for (std::size_t j = i; j > low;) {
      --j;
      node += FTree[j];
      j = j & (j + 1);
    }
    FTree.push_back(node);
    FTotal += value;
  }

  std::vector<int> FValues;
  std::vector<int> FTree;
  long long FTotal = 0;
};

enum class CharClass { Space, Word, Other };

CharClass ClassOf(char32_t c) {
  if (c == U' ' || c == U'\t' || c == 0x3000) return CharClass::Space;
  if (c == U'_' || c >= 0x80 || std::iswalnum(wint_t(c))) return CharClass::Word;
  return CharClass::Other;
}

// Line breaks of any convention become '\n'.
std::u32string NormalizeBreaks(std::u32string_view text) {
  std::u32string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U'\r') {
      result += U'\n';
      if (i + 1 < text.size() && text[i + 1] == U'\n') ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

// Text as the edit hands it out: line breaks as CR LF.
std::string External(std::u32string_view text) {
  std::u32string result;
  result.reserve(text.size());
  for (char32_t c : text) {
    if (c == U'\n') result += U'\r';
    result += c;
  }
  return gfx::EncodeUtf8(result);
}

// Characters a piece of text takes, each line break counting two.
long long CharCountOf(std::u32string_view text) {
  long long count = 0;
  for (char32_t c : text) count += c == U'\n' ? 2 : 1;
  return count;
}

}  // namespace

// ---- The text model ---------------------------------------------------------

struct TCustomEdit::State {
  explicit State(TCustomEdit& edit) : Edit(edit) {}

  TCustomEdit& Edit;
  std::vector<std::u32string> Lines{1};
  // Only while wrapping; otherwise every line is one row.
  RowIndex Rows;
  bool Wrapping = false;
  int WrapWidth = 0;
  long long CharCount = 0;
  Pos Caret;
  Pos Anchor;
  // The x the caret keeps on its way up and down through shorter rows.
  int DesiredX = -1;
  int TopRow = 0;
  int ScrollX = 0;
  // One level of undo: what Undo takes out and puts back. Undoing twice
  // redoes.
  bool HasUndo = false;
  Pos UndoStart;
  std::u32string UndoRemoved;
  std::u32string UndoInserted;
  bool UndoTyping = false;
  bool CaretShown = true;
  bool Blinking = false;
  // The resolved font, looked up again when the font changes.
  gfx::FontInstance* Font = nullptr;
  int LineHeight = 0;
  int TabWidth = 0;

  gfx::FontInstance& Metrics() {
    if (!Font) {
      Font = &gfx::FontEngine::Instance().Resolve(Edit.Font()->ToGfxFont());
      LineHeight = std::max(1, Font->Metrics().Height);
      TabWidth = std::max(1, 8 * Font->Metrics().AverageCharWidth);
    }
    return *Font;
  }

  char32_t Shown(char32_t c) const { return Edit.FPasswordChar ? Edit.FPasswordChar : c; }

  // The advance of c drawn at x (tabs go to the next stop).
  int Advance(char32_t c, int x) {
    gfx::FontInstance& font = Metrics();
    c = Shown(c);
    if (c == U'\t') return TabWidth - (x % TabWidth);
    return font.Advance(c);
  }

  int Width(const std::u32string& line, int from, int to) {
    int x = 0;
    for (int i = from; i < to; ++i) x += Advance(line[std::size_t(i)], x);
    return x;
  }

  // The columns where the rows of a line start (the first is 0).
  std::vector<int> RowStarts(int lineIndex) {
    std::vector<int> starts{0};
    if (!Wrapping) return starts;
    const std::u32string& line = Lines[std::size_t(lineIndex)];
    int width = std::max(1, WrapWidth);
    int x = 0;
    int rowStart = 0;
    int lastBreak = -1;  // column after which the row may break
    for (int i = 0; i < int(line.size()); ++i) {
      char32_t c = line[std::size_t(i)];
      int advance = Advance(c, x);
      if (x + advance > width && i > rowStart && ClassOf(c) != CharClass::Space) {
        int next = lastBreak > rowStart ? lastBreak : i;
        starts.push_back(next);
        rowStart = next;
        lastBreak = -1;
        x = Width(line, rowStart, i);
        advance = Advance(c, x);
      }
      x += advance;
      if (ClassOf(c) == CharClass::Space || gfx::IsWideBreakCharacter(c)) lastBreak = i + 1;
      if (i + 1 < int(line.size()) && gfx::IsWideBreakCharacter(line[std::size_t(i) + 1])) lastBreak = i + 1;
    }
    return starts;
  }

  int RowsOf(int lineIndex) { return Wrapping ? int(RowStarts(lineIndex).size()) : 1; }

  void RebuildRows() {
    if (!Wrapping) {
      Rows.Build({});
      return;
    }
    std::vector<int> counts(Lines.size());
    for (std::size_t i = 0; i < Lines.size(); ++i) counts[i] = RowsOf(int(i));
    Rows.Build(std::move(counts));
  }

  long long RowCount() const { return Wrapping ? Rows.Total() : (long long)Lines.size(); }
  long long FirstRowOf(int line) const { return Wrapping ? Rows.Prefix(line) : line; }
  int LineOfRow(long long row, int& rowInLine) const {
    if (!Wrapping) {
      rowInLine = 0;
      return int(std::clamp<long long>(row, 0, (long long)Lines.size() - 1));
    }
    return Rows.Find(std::clamp<long long>(row, 0, std::max<long long>(Rows.Total() - 1, 0)), rowInLine);
  }

  // The row of a position; at a wrap point the caret stands at the start
  // of the next row.
  long long RowOf(Pos p, int* rowStart = nullptr, int* rowEnd = nullptr) {
    std::vector<int> starts = RowStarts(p.Line);
    int index = int(std::upper_bound(starts.begin(), starts.end(), p.Column) - starts.begin()) - 1;
    index = std::max(index, 0);
    if (rowStart) *rowStart = starts[std::size_t(index)];
    if (rowEnd) {
      *rowEnd = std::size_t(index) + 1 < starts.size() ? starts[std::size_t(index) + 1]
                                                       : int(Lines[std::size_t(p.Line)].size());
    }
    return FirstRowOf(p.Line) + index;
  }

  Pos End() const { return Pos{int(Lines.size()) - 1, int(Lines.back().size())}; }
  Pos Clamp(Pos p) const {
    p.Line = std::clamp(p.Line, 0, int(Lines.size()) - 1);
    p.Column = std::clamp(p.Column, 0, int(Lines[std::size_t(p.Line)].size()));
    return p;
  }

  long long IndexOf(Pos p) const {
    long long index = 0;
    for (int i = 0; i < p.Line; ++i) index += (long long)Lines[std::size_t(i)].size() + 2;
    return index + p.Column;
  }
  Pos PosOf(long long index) const {
    if (index < 0) return Pos{};
    for (int i = 0; i < int(Lines.size()); ++i) {
      long long length = (long long)Lines[std::size_t(i)].size();
      if (index <= length) return Pos{i, int(index)};
      index -= length + 2;
      // A position inside a line break belongs to the line's end.
      if (index < 0) return Pos{i, int(length)};
    }
    return End();
  }

  std::u32string TextBetween(Pos from, Pos to) const {
    if (to < from) std::swap(from, to);
    if (from.Line == to.Line) return Lines[std::size_t(from.Line)].substr(std::size_t(from.Column), std::size_t(to.Column - from.Column));
    std::u32string text = Lines[std::size_t(from.Line)].substr(std::size_t(from.Column));
    for (int i = from.Line + 1; i < to.Line; ++i) {
      text += U'\n';
      text += Lines[std::size_t(i)];
    }
    text += U'\n';
    text += Lines[std::size_t(to.Line)].substr(0, std::size_t(to.Column));
    return text;
  }

  long long CharsBetween(Pos from, Pos to) const {
    if (from.Line == to.Line) return to.Column - from.Column;
    long long count = (long long)Lines[std::size_t(from.Line)].size() - from.Column + 2;
    for (int i = from.Line + 1; i < to.Line; ++i) count += (long long)Lines[std::size_t(i)].size() + 2;
    return count + to.Column;
  }

  // Replaces [from, to) by text ('\n' separates lines; a single-line edit
  // keeps them as characters) and returns the end of the new text.
  Pos Replace(Pos from, Pos to, std::u32string_view text) {
    if (to < from) std::swap(from, to);
    CharCount += CharCountOf(text) - CharsBetween(from, to);
    std::u32string prefix = Lines[std::size_t(from.Line)].substr(0, std::size_t(from.Column));
    std::u32string suffix = Lines[std::size_t(to.Line)].substr(std::size_t(to.Column));
    std::vector<std::u32string> pieces;
    if (Edit.FMultiLine) {
      std::size_t start = 0;
      for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == U'\n') {
          pieces.emplace_back(text.substr(start, i - start));
          start = i + 1;
        }
      }
    } else {
      pieces.emplace_back(text);
    }
    Pos end{from.Line + int(pieces.size()) - 1, 0};
    end.Column = int(pieces.back().size()) + (pieces.size() == 1 ? from.Column : 0);
    pieces.front().insert(0, prefix);
    pieces.back() += suffix;
    int oldCount = to.Line - from.Line + 1;
    int newCount = int(pieces.size());
    int common = std::min(oldCount, newCount);
    for (int i = 0; i < common; ++i) Lines[std::size_t(from.Line + i)] = std::move(pieces[std::size_t(i)]);
    if (newCount > oldCount) {
      Lines.insert(Lines.begin() + from.Line + common, std::make_move_iterator(pieces.begin() + common),
                   std::make_move_iterator(pieces.end()));
    } else if (newCount < oldCount) {
      Lines.erase(Lines.begin() + from.Line + common, Lines.begin() + from.Line + oldCount);
    }
    if (Wrapping && std::abs(newCount - oldCount) > ShiftLimit) {
      // Many lines in or out at once (clearing a long log, a long paste):
      // one rebuild instead of one per line, which made clearing
      // quadratic.
      std::vector<int> values;
      values.reserve(Lines.size());
      for (int i = 0; i < from.Line; ++i) values.push_back(Rows.Get(i));
      for (int i = 0; i < newCount; ++i) values.push_back(RowsOf(from.Line + i));
      for (int i = from.Line + oldCount; i < Rows.Size(); ++i) values.push_back(Rows.Get(i));
      Rows.Build(std::move(values));
    } else if (Wrapping) {
      for (int i = 0; i < common; ++i) Rows.Set(from.Line + i, RowsOf(from.Line + i));
      for (int i = common; i < newCount; ++i) Rows.Insert(from.Line + i, RowsOf(from.Line + i));
      for (int i = common; i < oldCount; ++i) Rows.Erase(from.Line + common);
    }
    return end;
  }

  // Where a position goes when [from, to) became text ending at newEnd.
  static Pos Adjust(Pos p, Pos from, Pos to, Pos newEnd) {
    if (p < from) return p;
    if (to <= p) {
      if (p.Line == to.Line) return Pos{newEnd.Line, newEnd.Column + (p.Column - to.Column)};
      return Pos{p.Line + (newEnd.Line - to.Line), p.Column};
    }
    return newEnd;
  }

  // A change by the program: the caret and the anchor move with the text,
  // and a caret at the very end stays at the end. Undo forgets.
  void ProgramReplace(Pos from, Pos to, std::u32string_view text) {
    if (to < from) std::swap(from, to);
    bool atEnd = Caret == Anchor && Caret == End();
    Pos newEnd = Replace(from, to, text);
    Caret = Clamp(Adjust(Caret, from, to, newEnd));
    Anchor = Clamp(Adjust(Anchor, from, to, newEnd));
    if (atEnd) Caret = Anchor = End();
    HasUndo = false;
  }

  // Horizontal start of the text of a row: the area's left, the scroll,
  // and for a single-line edit the alignment.
  int RowOrigin(const gfx::Rect& area) {
    int x = area.Left - ScrollX;
    if (!Edit.FMultiLine && Edit.FAlignment != taLeftJustify) {
      int textWidth = Width(Lines.front(), 0, int(Lines.front().size()));
      int free = area.Width() - textWidth - 1;
      if (free > 0) x += Edit.FAlignment == taRightJustify ? free : free / 2;
    }
    return x;
  }

  bool HasSelection() const { return !(Caret == Anchor); }
  Pos SelFrom() const { return std::min(Caret, Anchor); }
  Pos SelTo() const { return std::max(Caret, Anchor); }

  // ---- Caret moves ----
  Pos Left(Pos p) const {
    if (p.Column > 0) return Pos{p.Line, p.Column - 1};
    if (p.Line > 0) return Pos{p.Line - 1, int(Lines[std::size_t(p.Line) - 1].size())};
    return p;
  }
  Pos Right(Pos p) const {
    if (p.Column < int(Lines[std::size_t(p.Line)].size())) return Pos{p.Line, p.Column + 1};
    if (p.Line + 1 < int(Lines.size())) return Pos{p.Line + 1, 0};
    return p;
  }
  CharClass ClassAt(Pos p) const {
    const std::u32string& line = Lines[std::size_t(p.Line)];
    if (Edit.FPasswordChar) return CharClass::Word;
    return p.Column < int(line.size()) ? ClassOf(line[std::size_t(p.Column)]) : CharClass::Space;
  }
  // Ctrl+Right: past the current run, then past the blanks after it.
  Pos WordRight(Pos p) const {
    const std::u32string& line = Lines[std::size_t(p.Line)];
    if (p.Column >= int(line.size())) return Right(p);
    if (Edit.FPasswordChar) return Pos{p.Line, int(line.size())};
    CharClass kind = ClassAt(p);
    while (p.Column < int(line.size()) && ClassAt(p) == kind) ++p.Column;
    while (p.Column < int(line.size()) && ClassAt(p) == CharClass::Space) ++p.Column;
    return p;
  }
  // Ctrl+Left: back over blanks, then to the start of the run before them.
  Pos WordLeft(Pos p) const {
    if (p.Column == 0) return Left(p);
    if (Edit.FPasswordChar) return Pos{p.Line, 0};
    auto before = [&](Pos q) { return ClassAt(Pos{q.Line, q.Column - 1}); };
    while (p.Column > 0 && before(p) == CharClass::Space) --p.Column;
    if (p.Column == 0) return p;
    CharClass kind = before(p);
    while (p.Column > 0 && before(p) == kind) --p.Column;
    return p;
  }
  // The run of one class around a position (a double click's word).
  void WordAt(Pos p, Pos& from, Pos& to) const {
    const std::u32string& line = Lines[std::size_t(p.Line)];
    from = to = p;
    if (line.empty()) return;
    if (Edit.FPasswordChar) {
      from.Column = 0;
      to.Column = int(line.size());
      return;
    }
    if (p.Column >= int(line.size())) p.Column = int(line.size()) - 1;
    CharClass kind = ClassAt(p);
    from = to = p;
    while (from.Column > 0 && ClassAt(Pos{p.Line, from.Column - 1}) == kind) --from.Column;
    while (to.Column < int(line.size()) && ClassAt(to) == kind) ++to.Column;
  }
};

// ---- Construction and properties --------------------------------------------

TCustomEdit::TCustomEdit(core::TComponent* owner)
    : TCustomControl(owner), FState(std::make_unique<State>(*this)) {
  SetControlStyle(ControlStyle() | TControlStyle{csOpaque});
  SetColor(clWindow);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetBounds(0, 0, 121, 21);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  Invalidate();
}

void TCustomEdit::SetMaxLength(int value) { FMaxLength = std::max(0, value); }

void TCustomEdit::SetPasswordChar(char32_t value) {
  if (value == FPasswordChar) return;
  FPasswordChar = value;
  FState->RebuildRows();
  Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == FCharCase) return;
  FCharCase = value;
  if (value == ecNormal) return;
  // The text takes the case now, as it will for what is typed later.
  std::string text = GetText();
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x80) c = value == ecUpperCase ? char(std::toupper(c)) : char(std::tolower(c));
  }
  SetText(text);
}

void TCustomEdit::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  Invalidate();
}

void TCustomEdit::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  UpdateAutoSize();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  if (HandleAllocated()) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  UpdateAutoSize();
  Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TCustomEdit::SetMargins(int left, int right) {
  FLeftMargin = std::max(0, left);
  FRightMargin = std::max(0, right);
  FState->WrapWidth = TextArea().Width();
  FState->RebuildRows();
  Invalidate();
  ScrollChanged();
}

void TCustomEdit::SetMultiLine(bool multiLine) {
  FMultiLine = multiLine;
  if (multiLine) FAutoSize = false;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetWordWrapMode(bool wordWrap) {
  if (wordWrap == FWordWrap) return;
  FWordWrap = wordWrap;
  State& s = *FState;
  s.Wrapping = FMultiLine && wordWrap;
  s.WrapWidth = TextArea().Width();
  if (s.Wrapping) s.ScrollX = 0;
  s.RebuildRows();
  s.TopRow = int(std::min<long long>(s.TopRow, std::max<long long>(s.RowCount() - VisibleRowCount(), 0)));
  Invalidate();
  ScrollChanged();
}

void TCustomEdit::SetWantKeys(bool wantReturns, bool wantTabs) {
  FWantReturns = wantReturns;
  FWantTabs = wantTabs;
}

void TCustomEdit::UpdateAutoSize() {
  if (!FAutoSize || FMultiLine || FBorderStyle != bsSingle || ComponentState().Contains(core::csLoading)) return;
  FState->Metrics();
  SetBounds(Left(), Top(), Width(), FState->LineHeight + 8);
}

void TCustomEdit::Loaded() {
  inherited::Loaded();
  UpdateAutoSize();
}

// ---- Text ---------------------------------------------------------------------

std::string TCustomEdit::GetText() const {
  const State& s = *FState;
  if (s.Lines.size() == 1) return gfx::EncodeUtf8(s.Lines.front());
  std::u32string text;
  text.reserve(std::size_t(s.CharCount));
  for (std::size_t i = 0; i < s.Lines.size(); ++i) {
    if (i) text += U"\r\n";
    text += s.Lines[i];
  }
  return gfx::EncodeUtf8(text);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::ScrollChanged() {}

void TCustomEdit::TextChanged() {
  TControlGuard guard(this);
  CaretMoved();
  if (guard.Destroyed()) return;
  Change();
}

void TCustomEdit::CaretMoved() {
  State& s = *FState;
  s.DesiredX = -1;
  // Keep the scroll inside the text and the caret in view.
  long long maxTop = std::max<long long>(s.RowCount() - VisibleRowCount(), 0);
  long long caretRow = s.RowOf(s.Caret);
  long long top = std::min<long long>(s.TopRow, maxTop);
  int visible = VisibleRowCount();
  if (caretRow < top) top = caretRow;
  if (caretRow >= top + visible) top = caretRow - visible + 1;
  s.TopRow = int(top);
  if (!s.Wrapping) {
    gfx::Rect area = TextArea();
    int rowStart = 0;
    s.RowOf(s.Caret, &rowStart);
    int caretX = s.Width(s.Lines[std::size_t(s.Caret.Line)], 0, s.Caret.Column);
    int width = std::max(1, area.Width());
    if (caretX < s.ScrollX) s.ScrollX = std::max(0, caretX - width / 3);
    if (caretX >= s.ScrollX + width) s.ScrollX = caretX - width + width / 3 + 1;
    if (!FMultiLine) {
      int textWidth = s.Width(s.Lines.front(), 0, int(s.Lines.front().size()));
      s.ScrollX = std::max(0, std::min(s.ScrollX, textWidth - width + 1));
    }
  }
  RestartCaretBlink();
  Invalidate();
  ScrollChanged();
}

// ---- Selection ------------------------------------------------------------------

int TCustomEdit::SelStart() const { return int(FState->IndexOf(FState->SelFrom())); }

void TCustomEdit::SetSelStart(int position) {
  State& s = *FState;
  s.Caret = s.Anchor = s.PosOf(position);
  s.DesiredX = -1;
  RestartCaretBlink();
  Invalidate();
}

int TCustomEdit::SelLength() const { return int(FState->CharsBetween(FState->SelFrom(), FState->SelTo())); }

void TCustomEdit::SetSelLength(int length) {
  State& s = *FState;
  Pos from = s.SelFrom();
  s.Anchor = from;
  s.Caret = s.PosOf(s.IndexOf(from) + std::max(0, length));
  Invalidate();
}

std::string TCustomEdit::SelText() const {
  std::u32string text = FState->TextBetween(FState->SelFrom(), FState->SelTo());
  return FMultiLine ? External(text) : gfx::EncodeUtf8(text);
}

void TCustomEdit::SetSelText(const std::string& text) {
  Perform(EM_REPLACESEL, 1, ToLParam(text.c_str()));
}

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

void TCustomEdit::ClearSelection() { Perform(WM_CLEAR, 0, 0); }

void TCustomEdit::CopyToClipboard() { Perform(WM_COPY, 0, 0); }

void TCustomEdit::CutToClipboard() { Perform(WM_CUT, 0, 0); }

void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }

void TCustomEdit::Undo() { Perform(WM_UNDO, 0, 0); }

bool TCustomEdit::CanUndo() const { return FState->HasUndo; }

void TCustomEdit::ClearUndo() { FState->HasUndo = false; }

// ---- Rows -----------------------------------------------------------------------

int TCustomEdit::RowCount() const { return int(std::min<long long>(FState->RowCount(), 0x7FFFFFFF)); }

int TCustomEdit::FirstVisibleRow() const { return FState->TopRow; }

int TCustomEdit::HorizontalScroll() const { return FState->ScrollX; }

int TCustomEdit::VisibleRowCount() const {
  FState->Metrics();
  return std::max(1, TextArea().Height() / FState->LineHeight);
}

void TCustomEdit::ScrollToRow(int row) {
  State& s = *FState;
  long long maxTop = std::max<long long>(s.RowCount() - VisibleRowCount(), 0);
  int top = int(std::clamp<long long>(row, 0, maxTop));
  if (top == s.TopRow) return;
  s.TopRow = top;
  Invalidate();
  ScrollChanged();
}

gfx::Point TCustomEdit::CaretPos() const { return gfx::Point{FState->Caret.Column, FState->Caret.Line}; }

void TCustomEdit::SetCaretPos(gfx::Point position) {
  State& s = *FState;
  s.Caret = s.Anchor = s.Clamp(Pos{position.Y, position.X});
  s.DesiredX = -1;
  RestartCaretBlink();
  Invalidate();
}

gfx::Rect TCustomEdit::TextArea() const {
  gfx::Rect client = ClientRect();
  return gfx::Rect{client.Left + FLeftMargin, client.Top, client.Right - FRightMargin, client.Bottom};
}


gfx::Rect TCustomEdit::CaretRect() const {
  State& s = *FState;
  gfx::Rect area = TextArea();
  s.Metrics();
  int rowStart = 0;
  long long row = s.RowOf(s.Caret, &rowStart);
  int x = s.RowOrigin(area) + s.Width(s.Lines[std::size_t(s.Caret.Line)], rowStart, s.Caret.Column);
  int y = area.Top + int(row - s.TopRow) * s.LineHeight;
  return gfx::Rect{x, y, x + 1, y + s.LineHeight};
}

int TCustomEdit::CharPosFromPoint(gfx::Point point) const {
  State& s = *FState;
  gfx::Rect area = TextArea();
  s.Metrics();
  long long row = s.TopRow + (point.Y >= area.Top ? (point.Y - area.Top) / s.LineHeight : -1 - (area.Top - point.Y - 1) / s.LineHeight);
  row = std::clamp<long long>(row, 0, std::max<long long>(s.RowCount() - 1, 0));
  int rowInLine = 0;
  int line = s.LineOfRow(row, rowInLine);
  std::vector<int> starts = s.RowStarts(line);
  const std::u32string& text = s.Lines[std::size_t(line)];
  int from = starts[std::size_t(rowInLine)];
  bool lastRow = std::size_t(rowInLine) + 1 >= starts.size();
  int to = lastRow ? int(text.size()) : starts[std::size_t(rowInLine) + 1];
  int target = point.X - s.RowOrigin(area);
  int x = 0;
  int column = from;
  for (; column < to; ++column) {
    int advance = s.Advance(text[std::size_t(column)], x);
    if (target < x + (advance + 1) / 2) break;
    x += advance;
  }
  // The end of a wrapped row is the start of the next one.
  if (!lastRow && column == to && to > from) --column;
  return int(s.IndexOf(Pos{line, column}));
}

// ---- Messages -------------------------------------------------------------------

void TCustomEdit::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(message); break;
    case WM_MOUSEMOVE: WMMouseMove(message); break;
    case WM_LBUTTONUP: WMLButtonUp(message); break;
    case WM_SETFOCUS: WMSetFocus(message); break;
    case WM_KILLFOCUS: WMKillFocus(message); break;
    case WM_TIMER: WMTimer(message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(message); break;
    case WM_NCPAINT: WMNCPaint(message); break;
    case WM_GETDLGCODE: WMGetDlgCode(message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(message); break;
    case CM_FONTCHANGED: CMFontChanged(message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(message); break;
    case WM_SIZE: {
      TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed()) return;
      State& s = *FState;
      int width = TextArea().Width();
      if (s.Wrapping && width != s.WrapWidth) {
        s.WrapWidth = width;
        s.RebuildRows();
      }
      s.WrapWidth = width;
      s.TopRow = int(std::min<long long>(s.TopRow, std::max<long long>(s.RowCount() - VisibleRowCount(), 0)));
      Invalidate();
      ScrollChanged();
      break;
    }
    default: inherited::Dispatch(message); break;
  }
}

// The "native" edit: what a derived class let through.
void TCustomEdit::DefaultHandler(TMessage& message) {
  State& s = *FState;
  switch (message.Msg) {
    case WM_CHAR: WMChar(message); return;
    case WM_KEYDOWN: WMKeyDown(message); return;
    case WM_VSCROLL:
    case WM_HSCROLL: WMScroll(message); return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: TControl::DefaultHandler(message); return;
    case WM_SETTEXT: {
      const char* text = FromLParam<const char>(message.LParam);
      std::u32string value = gfx::DecodeUtf8(text ? text : "");
      if (FMultiLine) value = NormalizeBreaks(value);
      s.Replace(Pos{}, s.End(), value);
      s.Caret = s.Anchor = Pos{};
      s.TopRow = 0;
      s.ScrollX = 0;
      s.HasUndo = false;
      FModified = false;
      message.Result = 1;
      TextChanged();
      return;
    }
    case EM_GETSEL: {
      int start = SelStart();
      int end = start + SelLength();
      if (int* p = reinterpret_cast<int*>(message.WParam)) *p = start;
      if (int* p = FromLParam<int>(message.LParam)) *p = end;
      message.Result = LRESULT(MakeLParam(start, end)) & 0xFFFFFFFF;
      return;
    }
    case EM_SETSEL: {
      long long start = std::intptr_t(message.WParam);
      long long end = message.LParam;
      if (start < 0) {
        s.Anchor = s.Caret;
      } else {
        Pos last = s.End();
        s.Anchor = end < 0 && start == 0 ? Pos{} : s.PosOf(start);
        s.Caret = end < 0 ? last : s.PosOf(end);
        if (end >= 0 && end < start) std::swap(s.Anchor, s.Caret);
      }
      s.DesiredX = -1;
      RestartCaretBlink();
      Invalidate();
      return;
    }
    case EM_REPLACESEL: {
      const char* text = FromLParam<const char>(message.LParam);
      std::u32string value = NormalizeBreaks(gfx::DecodeUtf8(text ? text : ""));
      if (!FMultiLine) value = value.substr(0, value.find(U'\n'));
      Pos from = s.SelFrom();
      Pos to = s.SelTo();
      if (message.WParam) {
        s.HasUndo = true;
        s.UndoTyping = false;
        s.UndoStart = from;
        s.UndoRemoved = s.TextBetween(from, to);
        s.UndoInserted = value;
      }
      s.Caret = s.Anchor = s.Replace(from, to, value);
      FModified = true;
      TextChanged();
      return;
    }
    case EM_GETLINECOUNT: message.Result = RowCount(); return;
    case EM_GETFIRSTVISIBLELINE: message.Result = s.TopRow; return;
    case EM_LINESCROLL: {
      if (message.WParam && !s.Wrapping) {
        s.Metrics();
        s.ScrollX = std::max(0, s.ScrollX + int(std::intptr_t(message.WParam)) * s.Font->Metrics().AverageCharWidth);
        Invalidate();
      }
      ScrollToRow(int(std::clamp<long long>((long long)s.TopRow + message.LParam, 0, 0x7FFFFFFF)));
      message.Result = 1;
      return;
    }
    case EM_SCROLL: {
      int before = s.TopRow;
      TMessage scroll{WM_VSCROLL, message.WParam, 0, 0};
      WMScroll(scroll);
      message.Result = 0x10000 | LRESULT(std::uint16_t(s.TopRow - before));
      return;
    }
    case EM_SCROLLCARET: CaretMoved(); return;
    case EM_LINEINDEX: {
      int line = std::intptr_t(message.WParam) < 0 ? s.Caret.Line : int(message.WParam);
      message.Result = line < int(s.Lines.size()) ? LRESULT(s.IndexOf(Pos{line, 0})) : -1;
      return;
    }
    case EM_LINEFROMCHAR: {
      long long index = std::intptr_t(message.WParam);
      message.Result = index < 0 ? s.Caret.Line : s.PosOf(index).Line;
      return;
    }
    case EM_LINELENGTH: {
      long long index = std::intptr_t(message.WParam);
      message.Result = LRESULT(s.Lines[std::size_t(index < 0 ? s.Caret.Line : s.PosOf(index).Line)].size());
      return;
    }
    case EM_GETMODIFY: message.Result = FModified ? 1 : 0; return;
    case EM_SETMODIFY: FModified = message.WParam != 0; return;
    case EM_LIMITTEXT: SetMaxLength(int(message.WParam)); return;
    case EM_CANUNDO: message.Result = s.HasUndo ? 1 : 0; return;
    case EM_EMPTYUNDOBUFFER: s.HasUndo = false; return;
    case EM_SETREADONLY: SetReadOnly(message.WParam != 0); message.Result = 1; return;
    case EM_SETPASSWORDCHAR: SetPasswordChar(char32_t(message.WParam)); return;
    case EM_GETPASSWORDCHAR: message.Result = LRESULT(FPasswordChar); return;
    case EM_SETMARGINS: {
      int left = (message.WParam & EC_LEFTMARGIN) ? LoWord(std::uintptr_t(message.LParam)) : FLeftMargin;
      int right = (message.WParam & EC_RIGHTMARGIN) ? HiWord(std::uintptr_t(message.LParam)) : FRightMargin;
      SetMargins(left, right);
      return;
    }
    case EM_GETMARGINS: message.Result = MakeLParam(FLeftMargin, FRightMargin); return;
    case WM_COPY:
      if (s.HasSelection() && !FPasswordChar) SetClipboardText(SelText());
      return;
    case WM_CUT:
    case WM_CLEAR:
      if (!s.HasSelection() || FReadOnly) return;
      if (message.Msg == WM_CUT) {
        if (FPasswordChar) return;
        SetClipboardText(SelText());
      }
      break;
    case WM_PASTE:
      if (FReadOnly) return;
      break;
    case WM_UNDO:
    case EM_UNDO: {
      message.Result = s.HasUndo ? 1 : 0;
      if (!s.HasUndo || FReadOnly) return;
      Pos start = s.UndoStart;
      std::u32string inserted = s.UndoInserted;
      Pos end = start;
      for (char32_t c : inserted) {
        if (c == U'\n' && FMultiLine) {
          ++end.Line;
          end.Column = 0;
        } else {
          ++end.Column;
        }
      }
      end = s.Clamp(end);
      Pos after = s.Replace(start, end, s.UndoRemoved);
      std::swap(s.UndoRemoved, s.UndoInserted);
      s.UndoTyping = false;
      s.Caret = s.Anchor = after;
      FModified = true;
      TextChanged();
      return;
    }
    default: inherited::DefaultHandler(message); return;
  }
  // WM_CUT, WM_CLEAR and WM_PASTE change the text the way typing does.
  std::u32string text;
  if (message.Msg == WM_PASTE) {
    text = NormalizeBreaks(gfx::DecodeUtf8(GetClipboardText()));
    if (!FMultiLine) text = text.substr(0, text.find(U'\n'));
    if (text.empty()) return;
  }
  TMessage replace{EM_REPLACESEL, 1, 0, 0};
  std::string utf8 = gfx::EncodeUtf8(text);
  // The limit applies to what the user pastes.
  if (FMaxLength > 0) {
    long long room = FMaxLength - (s.CharCount - s.CharsBetween(s.SelFrom(), s.SelTo()));
    std::u32string kept;
    long long used = 0;
    for (char32_t c : text) {
      long long size = c == U'\n' ? 2 : 1;
      if (used + size > room) break;
      kept += c;
      used += size;
    }
    if (kept.size() < text.size()) MessageBeep(0);
    if (kept.empty() && !s.HasSelection()) return;
    utf8 = gfx::EncodeUtf8(kept);
  }
  replace.LParam = ToLParam(utf8.c_str());
  DefaultHandler(replace);
}

void TCustomEdit::WMGetDlgCode(TMessage& message) {
  message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
  if (FMultiLine) {
    if (FWantReturns) message.Result |= DLGC_WANTALLKEYS;
    if (FWantTabs) message.Result |= DLGC_WANTTAB;
  }
}

void TCustomEdit::WMChar(TMessage& message) {
  State& s = *FState;
  char32_t c = char32_t(message.WParam);
  TShiftState shift = KeyboardShiftState();
  // Shortcuts were handled as keys; Ctrl+Alt is AltGr and types.
  if (shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && c != U'\n' && c != U'\r') return;
  std::u32string text;
  if (c == 8) {
    if (FReadOnly) {
      MessageBeep(0);
      return;
    }
    if (!s.HasSelection()) {
      if (s.Caret == Pos{}) return;
      s.Anchor = s.Caret;
      s.Caret = s.Left(s.Caret);
    }
    TMessage clear{WM_CLEAR, 0, 0, 0};
    s.UndoTyping = false;
    DefaultHandler(clear);
    return;
  }
  if (c == U'\r' || c == U'\n') {
    if (!FMultiLine || !(FWantReturns || shift.Contains(ssCtrl))) return;
    text = U"\n";
  } else if (c == U'\t') {
    if (!FMultiLine || !FWantTabs) return;
    text = U"\t";
  } else if (c < 0x20 || c == 0x7F) {
    return;
  } else {
    if (FCharCase == ecUpperCase && c < 0x80) c = char32_t(std::toupper(int(c)));
    if (FCharCase == ecLowerCase && c < 0x80) c = char32_t(std::tolower(int(c)));
    text = std::u32string(1, c);
  }
  if (FReadOnly) {
    MessageBeep(0);
    return;
  }
  Pos from = s.SelFrom();
  Pos to = s.SelTo();
  if (FMaxLength > 0 && s.CharCount - s.CharsBetween(from, to) + CharCountOf(text) > FMaxLength) {
    MessageBeep(0);
    return;
  }
  // Characters typed one after the other are undone together.
  if (s.HasUndo && s.UndoTyping && from == to && text != U"\n") {
    Pos end = s.UndoStart;
    end.Column += int(s.UndoInserted.size());
    if (s.UndoInserted.find(U'\n') == std::u32string::npos && end == from) {
      s.UndoInserted += text;
    } else {
      s.UndoStart = from;
      s.UndoRemoved.clear();
      s.UndoInserted = text;
    }
  } else {
    s.HasUndo = true;
    s.UndoStart = from;
    s.UndoRemoved = s.TextBetween(from, to);
    s.UndoInserted = text;
  }
  s.UndoTyping = true;
  s.Caret = s.Anchor = s.Replace(from, to, text);
  FModified = true;
  TextChanged();
}

void TCustomEdit::WMKeyDown(TMessage& message) {
  State& s = *FState;
  TShiftState shift = KeyboardShiftState();
  bool extend = shift.Contains(ssShift);
  bool control = shift.Contains(ssCtrl);
  int key = int(message.WParam);
  auto moveTo = [&](Pos p, bool keepDesired = false) {
    s.Caret = s.Clamp(p);
    if (!extend) s.Anchor = s.Caret;
    if (!keepDesired) s.DesiredX = -1;
    s.UndoTyping = false;
    CaretMoved();
  };
  // Up and down keep the x where the journey started.
  auto moveRows = [&](long long rows) {
    gfx::Rect caret = CaretRect();
    if (s.DesiredX < 0) s.DesiredX = caret.Left;
    long long row = s.RowOf(s.Caret) + rows;
    row = std::clamp<long long>(row, 0, s.RowCount() - 1);
    gfx::Rect area = TextArea();
    int y = area.Top + int(row - s.TopRow) * s.LineHeight;
    int desired = s.DesiredX;
    Pos target = s.PosOf(CharPosFromPoint(gfx::Point{desired, y}));
    moveTo(target, true);
    s.DesiredX = desired;
  };
  switch (key) {
    case platform::VK_LEFT:
      if (!extend && s.HasSelection() && !control) moveTo(s.SelFrom());
      else moveTo(control ? s.WordLeft(s.Caret) : s.Left(s.Caret));
      return;
    case platform::VK_RIGHT:
      if (!extend && s.HasSelection() && !control) moveTo(s.SelTo());
      else moveTo(control ? s.WordRight(s.Caret) : s.Right(s.Caret));
      return;
    case platform::VK_UP:
      if (FMultiLine) moveRows(-1);
      return;
    case platform::VK_DOWN:
      if (FMultiLine) moveRows(1);
      return;
    case platform::VK_PRIOR:
      if (FMultiLine) {
        ScrollToRow(s.TopRow - VisibleRowCount());
        moveRows(-VisibleRowCount());
      }
      return;
    case platform::VK_NEXT:
      if (FMultiLine) {
        ScrollToRow(s.TopRow + VisibleRowCount());
        moveRows(VisibleRowCount());
      }
      return;
    case platform::VK_HOME: {
      if (control) {
        moveTo(Pos{});
        return;
      }
      int rowStart = 0;
      s.RowOf(s.Caret, &rowStart);
      moveTo(Pos{s.Caret.Line, rowStart});
      return;
    }
    case platform::VK_END: {
      if (control) {
        moveTo(s.End());
        return;
      }
      int rowStart = 0;
      int rowEnd = 0;
      s.RowOf(s.Caret, &rowStart, &rowEnd);
      bool lastRow = rowEnd == int(s.Lines[std::size_t(s.Caret.Line)].size());
      // A wrapped row ends before its breaking blank.
      moveTo(Pos{s.Caret.Line, lastRow || rowEnd == rowStart ? rowEnd : rowEnd - 1});
      return;
    }
    case platform::VK_DELETE: {
      if (extend && !control) {
        CutToClipboard();
        return;
      }
      if (FReadOnly) {
        MessageBeep(0);
        return;
      }
      if (!s.HasSelection()) {
        if (s.Caret == s.End()) return;
        s.Anchor = control ? s.WordRight(s.Caret) : s.Right(s.Caret);
      }
      s.UndoTyping = false;
      TMessage clear{WM_CLEAR, 0, 0, 0};
      DefaultHandler(clear);
      return;
    }
    case platform::VK_INSERT:
      if (control && !extend) CopyToClipboard();
      else if (extend && !control) PasteFromClipboard();
      return;
    default: break;
  }
  if (control && !shift.Contains(ssAlt)) {
    switch (key) {
      case 'A': SelectAll(); return;
      case 'C': CopyToClipboard(); return;
      case 'X': CutToClipboard(); return;
      case 'V': PasteFromClipboard(); return;
      case 'Z': Undo(); return;
      default: break;
    }
  }
  inherited::DefaultHandler(message);
}

void TCustomEdit::WMLButtonDown(TMessage& message) {
  TControlGuard guard(this);
  if (CanFocus() && !Focused()) {
    SetFocus();
    if (guard.Destroyed()) return;
  }
  State& s = *FState;
  Pos p = s.PosOf(CharPosFromPoint(PointFromLParam(message.LParam)));
  s.Caret = p;
  if (!(message.WParam & MK_SHIFT)) s.Anchor = p;
  s.DesiredX = -1;
  s.UndoTyping = false;
  FSelectingWithMouse = true;
  CaretMoved();
  if (guard.Destroyed()) return;
  inherited::Dispatch(message);
}

void TCustomEdit::WMLButtonDblClk(TMessage& message) {
  TControlGuard guard(this);
  State& s = *FState;
  Pos from;
  Pos to;
  s.WordAt(s.PosOf(CharPosFromPoint(PointFromLParam(message.LParam))), from, to);
  s.Anchor = from;
  s.Caret = to;
  FSelectingWithMouse = false;
  CaretMoved();
  if (guard.Destroyed()) return;
  inherited::Dispatch(message);
}

void TCustomEdit::WMMouseMove(TMessage& message) {
  if (FSelectingWithMouse && (message.WParam & MK_LBUTTON)) {
    State& s = *FState;
    Pos p = s.PosOf(CharPosFromPoint(PointFromLParam(message.LParam)));
    if (!(p == s.Caret)) {
      s.Caret = p;
      TControlGuard guard(this);
      CaretMoved();
      if (guard.Destroyed()) return;
    }
  }
  inherited::Dispatch(message);
}

void TCustomEdit::WMLButtonUp(TMessage& message) {
  FSelectingWithMouse = false;
  inherited::Dispatch(message);
}

void TCustomEdit::WMSetFocus(TMessage& message) {
  TControlGuard guard(this);
  inherited::Dispatch(message);
  if (guard.Destroyed()) return;
  // Focus that arrives by the keyboard selects the whole text.
  if (FAutoSelect && !FMultiLine && !ControlState().Contains(csLButtonDown)) {
    FState->Anchor = Pos{};
    FState->Caret = FState->End();
  }
  RestartCaretBlink();
  Invalidate();
}

void TCustomEdit::WMKillFocus(TMessage& message) {
  StopCaretBlink();
  FSelectingWithMouse = false;
  Invalidate();
  inherited::Dispatch(message);
}

void TCustomEdit::RestartCaretBlink() {
  State& s = *FState;
  s.CaretShown = true;
  if (!HandleAllocated() || !Focused()) return;
  s.Blinking = true;
  SetTimer(Handle(), CaretTimer, CaretBlinkTime);
  gfx::Rect caret = CaretRect();
  InvalidateRect(Handle(), &caret, false);
}

void TCustomEdit::StopCaretBlink() {
  State& s = *FState;
  if (s.Blinking && HandleAllocated()) KillTimer(Handle(), CaretTimer);
  s.Blinking = false;
  s.CaretShown = false;
}

void TCustomEdit::WMTimer(TMessage& message) {
  if (message.WParam != CaretTimer) {
    inherited::Dispatch(message);
    return;
  }
  State& s = *FState;
  if (!Focused()) {
    StopCaretBlink();
    return;
  }
  s.CaretShown = !s.CaretShown;
  gfx::Rect caret = CaretRect();
  InvalidateRect(Handle(), &caret, false);
}

void TCustomEdit::CreateWnd() {
  inherited::CreateWnd();
  State& s = *FState;
  s.WrapWidth = TextArea().Width();
  if (s.Wrapping) s.RebuildRows();
}

void TCustomEdit::DestroyWnd() {
  StopCaretBlink();
  inherited::DestroyWnd();
}

void TCustomEdit::AdjustNonClientArea(gfx::Rect& windowRect) const {
  if (FBorderStyle == bsSingle) windowRect = windowRect.Inflate(-2, -2);
}

void TCustomEdit::PaintNonClient(gfx::Canvas& canvas, gfx::Size windowSize) {
  if (FBorderStyle != bsSingle) return;
  classic::DrawFrame(canvas, gfx::Rect{0, 0, windowSize.Width, windowSize.Height}, classic::FrameKind::Sunken);
}

void TCustomEdit::WMNCCalcSize(TMessage& message) {
  if (message.WParam) {
    AdjustNonClientArea(FromLParam<CalcSizeParams>(message.LParam)->Rects[0]);
  } else if (auto* rect = FromLParam<gfx::Rect>(message.LParam)) {
    AdjustNonClientArea(*rect);
  }
  message.Result = 0;
}

void TCustomEdit::WMNCPaint(TMessage&) {
  if (!HandleAllocated()) return;
  gfx::Rect bounds;
  GetWindowRect(Handle(), bounds);
  WindowDC context(Handle(), WindowDC::Area::NonClient);
  PaintNonClient(context.Canvas(), gfx::Size{bounds.Width(), bounds.Height()});
}

void TCustomEdit::WMMouseWheel(TMessage& message) {
  if (!FMultiLine) {
    inherited::Dispatch(message);
    return;
  }
  int notches = WheelDeltaFromWParam(message.WParam) / WHEEL_DELTA;
  ScrollToRow(FState->TopRow - notches * WheelRows);
  message.Result = 1;
}

void TCustomEdit::WMScroll(TMessage& message) {
  State& s = *FState;
  int code = int(LoWord(message.WParam));
  if (message.Msg == WM_HSCROLL) {
    s.Metrics();
    int step = std::max(1, s.Font->Metrics().AverageCharWidth);
    int page = std::max(step, TextArea().Width());
    switch (code) {
      case SB_LINELEFT: s.ScrollX -= step; break;
      case SB_LINERIGHT: s.ScrollX += step; break;
      case SB_PAGELEFT: s.ScrollX -= page; break;
      case SB_PAGERIGHT: s.ScrollX += page; break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: s.ScrollX = HiWord(message.WParam); break;
      case SB_LEFT: s.ScrollX = 0; break;
      default: return;
    }
    s.ScrollX = std::max(0, s.ScrollX);
    Invalidate();
    ScrollChanged();
    return;
  }
  int visible = VisibleRowCount();
  long long top = s.TopRow;
  switch (code) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= visible; break;
    case SB_PAGEDOWN: top += visible; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: top = HiWord(message.WParam); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = s.RowCount(); break;
    default: return;
  }
  ScrollToRow(int(std::clamp<long long>(top, 0, 0x7FFFFFFF)));
}

void TCustomEdit::CMFontChanged(TMessage& message) {
  State& s = *FState;
  s.Font = nullptr;
  s.Metrics();
  s.RebuildRows();
  inherited::Dispatch(message);
  UpdateAutoSize();
  Invalidate();
  ScrollChanged();
}

void TCustomEdit::CMEnabledChanged(TMessage& message) {
  inherited::Dispatch(message);
  Invalidate();
}

// ---- Buffer access for the memo's lines -------------------------------------------

int TCustomEdit::BufferLineCount() const { return int(FState->Lines.size()); }

std::string TCustomEdit::BufferLine(int index) const { return gfx::EncodeUtf8(FState->Lines[std::size_t(index)]); }

void TCustomEdit::BufferPutLine(int index, std::string_view text) {
  State& s = *FState;
  s.ProgramReplace(Pos{index, 0}, Pos{index, int(s.Lines[std::size_t(index)].size())}, NormalizeBreaks(gfx::DecodeUtf8(text)));
  TextChanged();
}

void TCustomEdit::BufferInsertLine(int index, std::string_view text) {
  State& s = *FState;
  std::u32string line = NormalizeBreaks(gfx::DecodeUtf8(text));
  if (index < int(s.Lines.size())) {
    line += U'\n';
    s.ProgramReplace(Pos{index, 0}, Pos{index, 0}, line);
  } else {
    Pos end = s.End();
    line.insert(line.begin(), U'\n');
    s.ProgramReplace(end, end, line);
  }
  TextChanged();
}

void TCustomEdit::BufferDeleteLine(int index) {
  State& s = *FState;
  int count = int(s.Lines.size());
  if (count == 1) {
    s.ProgramReplace(Pos{}, s.End(), U"");
  } else if (index + 1 < count) {
    s.ProgramReplace(Pos{index, 0}, Pos{index + 1, 0}, U"");
  } else {
    s.ProgramReplace(Pos{index - 1, int(s.Lines[std::size_t(index) - 1].size())}, s.End(), U"");
  }
  TextChanged();
}

void TCustomEdit::BufferClear() {
  State& s = *FState;
  s.Replace(Pos{}, s.End(), U"");
  s.Caret = s.Anchor = Pos{};
  s.TopRow = 0;
  s.ScrollX = 0;
  s.HasUndo = false;
  TextChanged();
}

// ---- Painting -----------------------------------------------------------------

void TCustomEdit::GetTextColors(TEditColors& colors) {
  colors.Text = ColorToRGB(Enabled() ? Font()->Color() : clGrayText);
  colors.Background = ColorToRGB(Color());
  colors.SelectionText = ColorToRGB(clHighlightText);
  colors.SelectionBackground = ColorToRGB(clHighlight);
  if (Parent() && HandleAllocated()) {
    Parent()->Perform(WM_CTLCOLOREDIT, WPARAM(&colors), LPARAM(Handle()));
  }
}

void TCustomEdit::Paint() {
  State& s = *FState;
  gfx::Canvas& canvas = Canvas()->Target();
  TEditColors colors;
  TControlGuard guard(this);
  GetTextColors(colors);
  if (guard.Destroyed()) return;
  gfx::Rect client = ClientRect();
  if (colors.Background) {
    canvas.SetBrush(*colors.Background);
    canvas.FillRect(client);
  }
  gfx::Rect area = TextArea();
  gfx::CanvasStateSaver saver(canvas);
  canvas.IntersectClipRect(area);
  s.Metrics();
  gfx::Font font = Font()->ToGfxFont();
  bool showSelection = s.HasSelection() && (Focused() || !FHideSelection);
  Pos selFrom = s.SelFrom();
  Pos selTo = s.SelTo();
  int origin = s.RowOrigin(area);
  int rowInLine = 0;
  int line = s.LineOfRow(s.TopRow, rowInLine);
  int y = area.Top;
  std::u32string shown;
  while (y < area.Bottom && line < int(s.Lines.size())) {
    const std::u32string& text = s.Lines[std::size_t(line)];
    std::vector<int> starts = s.RowStarts(line);
    for (std::size_t row = std::size_t(rowInLine); row < starts.size() && y < area.Bottom; ++row) {
      int from = starts[row];
      int to = row + 1 < starts.size() ? starts[row + 1] : int(text.size());
      int selStart = to;
      int selEnd = to;
      if (showSelection) {
        Pos rowFrom{line, from};
        Pos rowTo{line, to};
        if (selFrom <= rowTo && rowFrom <= selTo) {
          selStart = selFrom.Line == line ? std::clamp(selFrom.Column, from, to) : from;
          selEnd = selTo.Line == line ? std::clamp(selTo.Column, from, to) : to;
        }
      }
      // Runs of one colour; a tab ends a run and only moves the pen.
      int x = 0;
      int column = from;
      while (column < to) {
        bool selected = column >= selStart && column < selEnd;
        int runEnd = selected ? selEnd : (column < selStart ? selStart : to);
        int runX = x;
        shown.clear();
        while (column < runEnd) {
          char32_t c = text[std::size_t(column)];
          if (c == U'\t' && !FPasswordChar) {
            if (!shown.empty()) break;
            x += s.Advance(c, x);
            ++column;
            break;
          }
          shown += s.Shown(c);
          x += s.Advance(c, x);
          ++column;
        }
        if (selected) {
          canvas.SetBrush(colors.SelectionBackground);
          canvas.FillRect(gfx::Rect{origin + runX, y, origin + x, y + s.LineHeight});
        }
        if (!shown.empty()) {
          font.Color = selected ? colors.SelectionText : colors.Text;
          canvas.SetFont(font);
          canvas.Brush().Style = gfx::BrushStyle::Clear;
          canvas.TextOut(origin + runX, y, gfx::EncodeUtf8(shown));
        }
      }
      y += s.LineHeight;
    }
    rowInLine = 0;
    ++line;
  }
  if (Focused() && s.CaretShown) {
    gfx::Rect caret = CaretRect();
    canvas.SetBrush(colors.Text);
    canvas.FillRect(caret);
  }
}

}  // namespace ui
