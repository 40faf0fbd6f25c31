#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "core/Exception.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

using platform::VK_CONTROL;
using platform::VK_DOWN;
using platform::VK_END;
using platform::VK_HOME;
using platform::VK_RETURN;
using platform::VK_SHIFT;
using platform::VK_UP;

class MemoTest : public FormTest {
 protected:
  // A memo of `rows` full rows of text (the font's line height each).
  TMemo* MakeMemo(int rows = 10, int width = 200) {
    Form = MakeForm(400, 400);
    Memo = Add<TMemo>(Form, {10, 10, 10 + width, 10});
    Form->Show();
    App->ProcessMessages();
    LineHeight = Memo->CaretRect().Height();
    Memo->SetClientHeight(rows * LineHeight);
    App->ProcessMessages();
    return Memo;
  }
  void Fill(int count) {
    for (int i = 0; i < count; ++i) Memo->Lines()->Add("line " + std::to_string(i));
  }
  int FirstVisible() { return int(Memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0)); }
  int LineCount() { return int(Memo->Perform(EM_GETLINECOUNT, 0, 0)); }
  void Scroll(WPARAM code, int position = 0) { Memo->Perform(WM_VSCROLL, MakeWParam(int(code), position), 0); }

  TForm* Form = nullptr;
  TMemo* Memo = nullptr;
  int LineHeight = 0;
};

TEST_F(MemoTest, LinesAreBoundToTheMemo) {
  MakeMemo();
  core::TStrings* lines = Memo->Lines();
  EXPECT_EQ(lines->Count(), 0);
  lines->Add("first");
  lines->Add("second");
  EXPECT_EQ(lines->Count(), 2);
  // Add keeps the text ending with a line break.
  EXPECT_EQ(Memo->Text(), "first\r\nsecond\r\n");
  lines->Insert(1, "middle");
  lines->Put(0, "FIRST");
  EXPECT_EQ(Memo->Text(), "FIRST\r\nmiddle\r\nsecond\r\n");
  lines->Delete(2);
  EXPECT_EQ(lines->Count(), 2);
  EXPECT_EQ((*lines)[1], "middle");
  // Text set on the memo reads back as lines, a last line without break too.
  Memo->SetText("a\r\nb\nc");
  EXPECT_EQ(lines->Count(), 3);
  EXPECT_EQ((*lines)[2], "c");
  lines->Add("d");
  EXPECT_EQ(Memo->Text(), "a\r\nb\r\nc\r\nd");
  lines->Clear();
  EXPECT_EQ(Memo->Text(), "");
  EXPECT_THROW(lines->Get(0), core::EListError);
}

TEST_F(MemoTest, EveryChangeOfTheLinesRaisesOnChange) {
  MakeMemo();
  int changes = 0;
  Memo->OnChange = [&](core::TComponent*) { ++changes; };
  Memo->Lines()->Add("a");
  Memo->Lines()->Add("b");
  Memo->Lines()->Delete(0);
  EXPECT_EQ(changes, 3);
}

TEST_F(MemoTest, LineCountIncludesTheEmptyLastLineAndWrappedRows) {
  MakeMemo(10, 120);
  Memo->SetWordWrap(false);
  Fill(3);
  // Three lines and the empty line after the last break.
  EXPECT_EQ(LineCount(), 4);
  Memo->Lines()->Add("a long line that cannot fit into the narrow memo at all");
  int unwrapped = LineCount();
  EXPECT_EQ(unwrapped, 5);
  Memo->SetWordWrap(true);
  int wrapped = LineCount();
  EXPECT_GT(wrapped, unwrapped);
  // The lines themselves stay as they are.
  EXPECT_EQ(Memo->Lines()->Count(), 4);
  // Rows break between words: no row starts with a blank.
  Memo->SetWordWrap(false);
  EXPECT_EQ(LineCount(), 5);
}

TEST_F(MemoTest, WrappedRowCountsFollowEditsAnywhereInALongText) {
  MakeMemo(10, 120);
  TMemo* fresh = Add<TMemo>(Form, {220, 10, 340, 100});
  fresh->SetClientWidth(Memo->ClientWidth());
  auto sentence = [](int i) {
    std::string text = "row " + std::to_string(i);
    for (int k = 0; k < i % 5; ++k) text += " with some words to wrap";
    return text;
  };
  for (int i = 0; i < 200; ++i) Memo->Lines()->Add(sentence(i));
  // Near the end and far from it, lines in and out, and one rewritten.
  Memo->Lines()->Insert(190, sentence(4));
  Memo->Lines()->Insert(10, sentence(3));
  Memo->Lines()->Delete(195);
  Memo->Lines()->Delete(3);
  Memo->Lines()->Put(100, sentence(9));
  Memo->Lines()->Insert(Memo->Lines()->Count(), sentence(2));
  fresh->SetText(Memo->Text());
  EXPECT_EQ(LineCount(), int(fresh->Perform(EM_GETLINECOUNT, 0, 0)));
  EXPECT_GT(LineCount(), 300);
  // The last row is reachable: scrolled to the bottom, its first visible
  // row is the count less the rows shown.
  Scroll(SB_BOTTOM);
  EXPECT_EQ(FirstVisible(), LineCount() - Memo->VisibleRowCount());
}

TEST_F(MemoTest, VerticalScrollMessagesMoveTheFirstVisibleLine) {
  MakeMemo(10);
  Memo->SetWordWrap(false);
  Fill(50);
  Memo->SetSelStart(0);
  Scroll(SB_TOP);
  EXPECT_EQ(Memo->VisibleRowCount(), 10);
  EXPECT_EQ(FirstVisible(), 0);
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(FirstVisible(), 1);
  Scroll(SB_LINEUP);
  Scroll(SB_LINEUP);
  EXPECT_EQ(FirstVisible(), 0);
  Scroll(SB_PAGEDOWN);
  EXPECT_EQ(FirstVisible(), 10);
  Scroll(SB_PAGEUP);
  EXPECT_EQ(FirstVisible(), 0);
  Scroll(SB_THUMBPOSITION, 23);
  EXPECT_EQ(FirstVisible(), 23);
  // The last position shows the last row (51 rows, 10 visible).
  Scroll(SB_BOTTOM);
  EXPECT_EQ(FirstVisible(), 41);
  Scroll(SB_THUMBPOSITION, 1000);
  EXPECT_EQ(FirstVisible(), 41);
  Scroll(SB_TOP);
  Memo->Perform(EM_LINESCROLL, 0, 5);
  EXPECT_EQ(FirstVisible(), 5);
}

TEST_F(MemoTest, TheWheelScrollsThreeRowsPerNotch) {
  MakeMemo(10);
  Memo->SetWordWrap(false);
  Fill(50);
  Scroll(SB_TOP);
  Headless->MoveMouse(Centre(Memo));
  Headless->TurnWheel(-1);
  App->ProcessMessages();
  EXPECT_EQ(FirstVisible(), 3);
  Headless->TurnWheel(2);
  App->ProcessMessages();
  EXPECT_EQ(FirstVisible(), 0);
}

TEST_F(MemoTest, AppendingScrollsOnlyWhileTheCaretIsAtTheEnd) {
  MakeMemo(10);
  Memo->SetWordWrap(false);
  // The caret starts at the end of the empty memo and stays there.
  Fill(30);
  EXPECT_EQ(Memo->SelStart(), int(Memo->Text().size()));
  EXPECT_EQ(FirstVisible(), 31 - 10);
  Fill(5);
  EXPECT_EQ(FirstVisible(), 36 - 10);
  // With the caret elsewhere the view stays.
  Memo->SetSelStart(0);
  Scroll(SB_TOP);
  Fill(5);
  EXPECT_EQ(FirstVisible(), 0);
  EXPECT_EQ(Memo->SelStart(), 0);
}

TEST_F(MemoTest, TheBuiltInScrollBarFollowsAndDrivesTheMemo) {
  MakeMemo(10);
  Memo->SetWordWrap(false);
  Memo->SetScrollBars(ssVertical);
  TScrollBar* bar = Memo->VerticalBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->Enabled());
  Fill(50);
  EXPECT_TRUE(bar->Enabled());
  Scroll(SB_TOP);
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(bar->Position(), 1);
  bar->SetPosition(20);
  EXPECT_EQ(FirstVisible(), 20);
  // The bar takes its place inside the memo, beside the text.
  EXPECT_EQ(bar->Left() + bar->Width(), Memo->ClientWidth());
  Memo->SetScrollBars(ssNone);
  EXPECT_EQ(Memo->VerticalBar(), nullptr);
}

TEST_F(MemoTest, EnterStartsALineAndUpDownKeepTheColumn) {
  MakeMemo();
  Memo->SetFocus();
  App->ProcessMessages();
  Headless->TypeText("abcdef");
  Stroke(VK_RETURN);
  Headless->TypeText("ab");
  Stroke(VK_RETURN);
  Headless->TypeText("abcdef");
  App->ProcessMessages();
  EXPECT_EQ(Memo->Text(), "abcdef\r\nab\r\nabcdef");
  EXPECT_EQ(Memo->CaretPos(), (gfx::Point{6, 2}));
  Stroke(VK_UP);
  EXPECT_EQ(Memo->CaretPos(), (gfx::Point{2, 1}));
  Stroke(VK_UP);
  // Back on a long line, the caret returns to its column.
  EXPECT_EQ(Memo->CaretPos(), (gfx::Point{6, 0}));
  Stroke(VK_HOME);
  Headless->PressKey(VK_SHIFT);
  Headless->StrokeKey(VK_DOWN);
  Headless->StrokeKey(VK_END);
  Headless->ReleaseKey(VK_SHIFT);
  App->ProcessMessages();
  EXPECT_EQ(Memo->SelText(), "abcdef\r\nab");
  Memo->CopyToClipboard();
  EXPECT_EQ(Headless->ClipboardText(), "abcdef\r\nab");
  Memo->Undo();
  EXPECT_EQ(Memo->Text(), "abcdef\r\nab\r\n");
}

TEST_F(MemoTest, ClipboardAndUndoWorkAcrossLines) {
  MakeMemo();
  Memo->Lines()->Add("alpha");
  Memo->Lines()->Add("beta");
  Memo->Lines()->Add("gamma");
  // From "ha" of the first line to "ga" of the third.
  Memo->SetSelStart(3);
  Memo->SetSelLength(int(std::string("ha\r\nbeta\r\nga").size()));
  EXPECT_EQ(Memo->SelText(), "ha\r\nbeta\r\nga");
  Memo->CutToClipboard();
  EXPECT_EQ(Headless->ClipboardText(), "ha\r\nbeta\r\nga");
  EXPECT_EQ(Memo->Lines()->Count(), 1);
  EXPECT_EQ(Memo->Lines()->Get(0), "alpmma");
  // The line and the empty one after its line break.
  EXPECT_EQ(LineCount(), 2);
  EXPECT_TRUE(Memo->CanUndo());
  Memo->Undo();
  EXPECT_EQ(Memo->Text(), "alpha\r\nbeta\r\ngamma\r\n");

  // Bare line feeds from other programs become line breaks of the memo.
  Memo->SetSelStart(0);
  Memo->SetSelLength(0);
  Headless->SetClipboardText("one\ntwo\n");
  Memo->PasteFromClipboard();
  EXPECT_EQ(Memo->Lines()->Count(), 5);
  EXPECT_EQ(Memo->Lines()->Get(1), "two");
  EXPECT_EQ(Memo->Lines()->Get(2), "alpha");
  EXPECT_EQ(Memo->CaretPos(), (gfx::Point{0, 2}));
  Memo->Undo();
  EXPECT_EQ(Memo->Lines()->Count(), 3);
  EXPECT_EQ(Memo->Lines()->Get(0), "alpha");
}

TEST_F(MemoTest, ADisabledMemoShowsItsTextInTheGreyTextColour) {
  MakeMemo();
  Memo->Lines()->Add("WWWWWWWW");
  Memo->SetEnabled(false);
  App->ProcessMessages();
  gfx::Rect row = Memo->CaretRect();
  bool grey = false;
  bool black = false;
  gfx::Point origin = Memo->ClientToScreen(gfx::Point{0, 0});
  gfx::Bitmap screen = Headless->Screen();
  for (int y = 0; y < LineHeight; ++y) {
    for (int x = 0; x < 80; ++x) {
      gfx::Pixel p = screen.GetPixel(origin.X + x, origin.Y + y);
      if (p == PixelOf(ColorToRGB(clGrayText))) grey = true;
      if (p == gfx::MakePixel(0, 0, 0)) black = true;
    }
  }
  (void)row;
  EXPECT_TRUE(grey);
  EXPECT_FALSE(black);
  // Disabled, it takes neither focus nor text from the user.
  EXPECT_FALSE(Memo->CanFocus());
}

TEST_F(MemoTest, AReadOnlyMemoCopiesButDoesNotChange) {
  MakeMemo();
  Memo->Lines()->Add("log line");
  Memo->SetReadOnly(true);
  Memo->SelectAll();
  Memo->CutToClipboard();
  Memo->ClearSelection();
  Headless->SetClipboardText("x");
  Memo->PasteFromClipboard();
  EXPECT_EQ(Memo->Text(), "log line\r\n");
}

TEST_F(MemoTest, AHandlerMayFreeTheMemoWhenALineIsAdded) {
  MakeMemo();
  Memo->OnChange = [](core::TComponent* sender) { sender->Free(); };
  Memo->Lines()->Add("bye");
  EXPECT_EQ(Form->ControlCount(), 0);
}

}  // namespace
}  // namespace ui::testing
