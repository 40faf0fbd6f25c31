#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

using platform::VK_CONTROL;
using platform::VK_DELETE;
using platform::VK_END;
using platform::VK_HOME;
using platform::VK_INSERT;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_SHIFT;

class EditTest : public FormTest {
 protected:
  TEdit* MakeEdit(const std::string& text = "") {
    Form = MakeForm(300, 200);
    Edit = Add<TEdit>(Form, {10, 10, 210, 31});
    Edit->SetText(text);
    Form->Show();
    App->ProcessMessages();
    Edit->SetFocus();
    App->ProcessMessages();
    return Edit;
  }
  void Type(std::string_view text) {
    Headless->TypeText(text);
    App->ProcessMessages();
  }
  void Chord(int modifier, int key) {
    Headless->PressKey(modifier);
    Headless->StrokeKey(key);
    Headless->ReleaseKey(modifier);
    App->ProcessMessages();
  }
  void Chord(int first, int second, int key) {
    Headless->PressKey(first);
    Headless->PressKey(second);
    Headless->StrokeKey(key);
    Headless->ReleaseKey(second);
    Headless->ReleaseKey(first);
    App->ProcessMessages();
  }
  // The screen point of a character position's left edge, mid-row.
  gfx::Point PointOf(int position) {
    int start = Edit->SelStart();
    int length = Edit->SelLength();
    Edit->SetSelStart(position);
    gfx::Rect caret = Edit->CaretRect();
    Edit->SetSelStart(start);
    Edit->SetSelLength(length);
    return Edit->ClientToScreen(gfx::Point{caret.Left, caret.Top + caret.Height() / 2});
  }

  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
};

TEST_F(EditTest, TypingInsertsAtTheCaretAndRaisesOnChangePerCharacter) {
  MakeEdit();
  int changes = 0;
  Edit->OnChange = [&](core::TComponent* sender) {
    EXPECT_EQ(sender, Edit);
    ++changes;
  };
  Type("hello");
  EXPECT_EQ(Edit->Text(), "hello");
  EXPECT_EQ(Edit->SelStart(), 5);
  EXPECT_EQ(changes, 5);
  Stroke(VK_LEFT);
  Stroke(VK_LEFT);
  Type("X");
  EXPECT_EQ(Edit->Text(), "helXlo");
  EXPECT_TRUE(Edit->Modified());
  // Moving the caret is no change.
  changes = 0;
  Stroke(VK_HOME);
  Stroke(VK_END);
  EXPECT_EQ(changes, 0);
}

TEST_F(EditTest, BackspaceAndDeleteRemoveOneWholeCharacter) {
  MakeEdit("a中文b");
  Stroke(VK_END);
  Stroke(VK_LEFT);
  Stroke(platform::VK_BACK);
  EXPECT_EQ(Edit->Text(), "a中b");
  EXPECT_EQ(Edit->SelStart(), 2);
  Stroke(VK_HOME);
  Stroke(VK_RIGHT);
  Stroke(VK_DELETE);
  EXPECT_EQ(Edit->Text(), "ab");
  // At the ends nothing happens.
  Stroke(VK_HOME);
  Stroke(platform::VK_BACK);
  Stroke(VK_END);
  Stroke(VK_DELETE);
  EXPECT_EQ(Edit->Text(), "ab");
}

TEST_F(EditTest, ShiftArrowsHomeEndAndCtrlArrowsSelect) {
  MakeEdit("one two  three");
  Stroke(VK_HOME);
  Chord(VK_SHIFT, VK_RIGHT);
  Chord(VK_SHIFT, VK_RIGHT);
  EXPECT_EQ(Edit->SelText(), "on");
  // Without Shift an arrow collapses the selection to its end.
  Stroke(VK_RIGHT);
  EXPECT_EQ(Edit->SelStart(), 2);
  EXPECT_EQ(Edit->SelLength(), 0);
  Chord(VK_SHIFT, VK_END);
  EXPECT_EQ(Edit->SelText(), "e two  three");
  Stroke(VK_HOME);
  // Ctrl+Right stops at the start of each word, past the blanks.
  Chord(VK_CONTROL, VK_RIGHT);
  EXPECT_EQ(Edit->SelStart(), 4);
  Chord(VK_CONTROL, VK_RIGHT);
  EXPECT_EQ(Edit->SelStart(), 9);
  Chord(VK_CONTROL, VK_SHIFT, VK_LEFT);
  EXPECT_EQ(Edit->SelText(), "two  ");
  Chord(VK_CONTROL, 'A');
  EXPECT_EQ(Edit->SelText(), "one two  three");
}

TEST_F(EditTest, TypingReplacesTheSelection) {
  MakeEdit("abcdef");
  Edit->SetSelStart(1);
  Edit->SetSelLength(3);
  Type("Z");
  EXPECT_EQ(Edit->Text(), "aZef");
  EXPECT_EQ(Edit->SelStart(), 2);
}

TEST_F(EditTest, MouseClickPlacesTheCaretDragSelectsDoubleClickSelectsAWord) {
  MakeEdit("alpha beta gamma");
  Headless->Click(PointOf(3));
  App->ProcessMessages();
  EXPECT_EQ(Edit->SelStart(), 3);
  EXPECT_EQ(Edit->SelLength(), 0);

  gfx::Point from = PointOf(6);
  gfx::Point to = PointOf(10);
  Headless->MoveMouse(from);
  Headless->PressMouse(platform::MouseButton::Left);
  App->ProcessMessages();
  Headless->MoveMouse(to);
  App->ProcessMessages();
  Headless->ReleaseMouse(platform::MouseButton::Left);
  App->ProcessMessages();
  EXPECT_EQ(Edit->SelText(), "beta");

  // Shift+click extends from the anchor.
  Headless->PressKey(VK_SHIFT);
  Headless->Click(PointOf(16));
  Headless->ReleaseKey(VK_SHIFT);
  App->ProcessMessages();
  EXPECT_EQ(Edit->SelText(), "beta gamma");

  Headless->AdvanceClock(1000);
  gfx::Point word = PointOf(13);
  Headless->Click(word);
  Headless->Click(word);
  App->ProcessMessages();
  EXPECT_EQ(Edit->SelText(), "gamma");
}

TEST_F(EditTest, ClipboardShortcutsCopyCutAndPaste) {
  MakeEdit("copy me");
  Edit->SetSelStart(5);
  Edit->SetSelLength(2);
  Chord(VK_CONTROL, 'C');
  EXPECT_EQ(Headless->ClipboardText(), "me");
  EXPECT_EQ(Edit->Text(), "copy me");
  Stroke(VK_HOME);
  Chord(VK_CONTROL, 'V');
  EXPECT_EQ(Edit->Text(), "mecopy me");
  Edit->SetSelStart(2);
  Edit->SetSelLength(4);
  Chord(VK_CONTROL, 'X');
  EXPECT_EQ(Headless->ClipboardText(), "copy");
  EXPECT_EQ(Edit->Text(), "me me");
  // The classic second set: Shift+Del cuts, Ctrl+Ins copies, Shift+Ins pastes.
  Edit->SetSelStart(0);
  Edit->SetSelLength(2);
  Chord(VK_CONTROL, VK_INSERT);
  EXPECT_EQ(Headless->ClipboardText(), "me");
  Chord(VK_SHIFT, VK_DELETE);
  EXPECT_EQ(Edit->Text(), " me");
  Stroke(VK_END);
  Chord(VK_SHIFT, VK_INSERT);
  EXPECT_EQ(Edit->Text(), " meme");
}

TEST_F(EditTest, PasteIntoASingleLineEditStopsAtTheFirstLineBreak) {
  MakeEdit();
  Headless->SetClipboardText("first\r\nsecond");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->Text(), "first");
}

TEST_F(EditTest, UndoTakesBackTheLastEditAndUndoAgainRedoesIt) {
  MakeEdit("base");
  EXPECT_FALSE(Edit->CanUndo());
  Stroke(VK_END);
  Type(" text");
  EXPECT_TRUE(Edit->CanUndo());
  // Consecutive typing is undone as one.
  Chord(VK_CONTROL, 'Z');
  EXPECT_EQ(Edit->Text(), "base");
  Edit->Undo();
  EXPECT_EQ(Edit->Text(), "base text");
  Edit->SetSelStart(0);
  Edit->SetSelLength(4);
  Edit->ClearSelection();
  EXPECT_EQ(Edit->Text(), " text");
  Edit->Undo();
  EXPECT_EQ(Edit->Text(), "base text");
  // Setting the text forgets the undo.
  Edit->SetText("new");
  EXPECT_FALSE(Edit->CanUndo());
}

TEST_F(EditTest, KeyFilterAndMaxLengthMakeAnOctetEdit) {
  MakeEdit();
  Edit->SetMaxLength(3);
  Edit->OnKeyPress = [](core::TComponent*, char32_t& key) {
    if (key >= 0x20 && (key < U'0' || key > U'9')) key = 0;
  };
  int beeps = Headless->BeepCount();
  Type("1a9-.25");
  EXPECT_EQ(Edit->Text(), "192");
  // The fourth digit is refused with a beep.
  EXPECT_GT(Headless->BeepCount(), beeps);
  // Control characters still pass: backspace edits.
  Stroke(platform::VK_BACK);
  Type("8");
  EXPECT_EQ(Edit->Text(), "198");
  // Pasting stops at the limit too.
  Edit->SetSelStart(1);
  Edit->SetSelLength(2);
  Headless->SetClipboardText("5555");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->Text(), "155");
}

TEST_F(EditTest, ReadOnlyRefusesEditsButCopies) {
  MakeEdit("fixed");
  Edit->SetReadOnly(true);
  Type("x");
  Stroke(platform::VK_BACK);
  Stroke(VK_DELETE);
  Edit->SelectAll();
  Edit->CutToClipboard();
  EXPECT_EQ(Edit->Text(), "fixed");
  Edit->CopyToClipboard();
  EXPECT_EQ(Headless->ClipboardText(), "fixed");
}

TEST_F(EditTest, PasswordCharHidesTheTextAndRefusesCopying) {
  MakeEdit("secret");
  Edit->SetPasswordChar(U'*');
  Headless->SetClipboardText("before");
  Edit->SelectAll();
  Edit->CopyToClipboard();
  Edit->CutToClipboard();
  EXPECT_EQ(Headless->ClipboardText(), "before");
  EXPECT_EQ(Edit->Text(), "secret");
}

TEST_F(EditTest, FocusByTabSelectsAllFocusByClickDoesNot) {
  TForm* form = MakeForm(300, 200);
  auto* first = Add<TEdit>(form, {10, 10, 110, 31});
  auto* second = Add<TEdit>(form, {10, 40, 110, 61});
  first->SetText("one");
  second->SetText("two");
  form->Show();
  App->ProcessMessages();
  first->SetFocus();
  Stroke(platform::VK_TAB);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(second->SelText(), "two");
  ClickOn(first);
  EXPECT_EQ(first->SelLength(), 0);
}

TEST_F(EditTest, EditMessagesAnswerSelectionAndMargins) {
  MakeEdit("abcdef");
  Edit->Perform(EM_SETSEL, 1, 4);
  int start = -1;
  int end = -1;
  Edit->Perform(EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 4);
  Edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MakeLParam(2, 5));
  EXPECT_EQ(Edit->LeftMargin(), 2);
  EXPECT_EQ(Edit->RightMargin(), 5);
  gfx::Rect client = Edit->ClientRect();
  Edit->SetSelStart(0);
  EXPECT_EQ(Edit->CaretRect().Left, client.Left + 2);
}

TEST_F(EditTest, BorderIsNonClientAndASubclassMayTakeItOver) {
  MakeEdit("x");
  EXPECT_EQ(Edit->ClientRect(), (gfx::Rect{0, 0, 196, 17}));
  // The classic sunken frame: shadow on the outer top-left ring.
  gfx::Point corner = Edit->ClientToScreen(gfx::Point{-2, -2});
  EXPECT_EQ(ScreenPixel(corner.X, corner.Y), PixelOf(ColorToRGB(clBtnShadow)));
  Edit->SetBorderStyle(bsNone);
  App->ProcessMessages();
  EXPECT_EQ(Edit->ClientRect(), (gfx::Rect{0, 0, 200, 21}));
}

TEST_F(EditTest, TextIsDrawnInTheWindowColourAndGreyWhenDisabled) {
  MakeEdit("");
  gfx::Point inside = Edit->ClientToScreen(gfx::Point{100, 8});
  EXPECT_EQ(ScreenPixel(inside.X, inside.Y), PixelOf(ColorToRGB(clWindow)));
  TEditColors colors;
  struct Probe : TEdit {
    using TEdit::GetTextColors;
    using TEdit::TEdit;
  };
  auto* probe = Add<Probe>(Form, {10, 60, 110, 81});
  probe->GetTextColors(colors);
  EXPECT_EQ(colors.Text, ColorToRGB(clWindowText));
  probe->SetEnabled(false);
  probe->GetTextColors(colors);
  EXPECT_EQ(colors.Text, ColorToRGB(clGrayText));
}

TEST_F(EditTest, TheCaretBlinksWhileFocusedAndTypingShowsIt) {
  MakeEdit("");
  gfx::Rect caret = Edit->CaretRect();
  gfx::Point at = Edit->ClientToScreen(gfx::Point{caret.Left, caret.Top + 3});
  gfx::Pixel ink = PixelOf(ColorToRGB(clWindowText));
  gfx::Pixel paper = PixelOf(ColorToRGB(clWindow));
  EXPECT_EQ(ScreenPixel(at.X, at.Y), ink);
  Headless->AdvanceClock(530);
  App->ProcessMessages();
  EXPECT_EQ(ScreenPixel(at.X, at.Y), paper);
  Headless->AdvanceClock(530);
  App->ProcessMessages();
  EXPECT_EQ(ScreenPixel(at.X, at.Y), ink);
  Headless->AdvanceClock(530);
  App->ProcessMessages();
  // A key shows the caret again at once.
  Stroke(platform::VK_HOME);
  EXPECT_EQ(ScreenPixel(at.X, at.Y), ink);
  // Without the focus there is no caret.
  auto* other = Add<TEdit>(Form, {10, 60, 110, 81});
  other->SetFocus();
  App->ProcessMessages();
  EXPECT_EQ(ScreenPixel(at.X, at.Y), paper);
}

TEST_F(EditTest, AnOnChangeHandlerMayFreeTheEdit) {
  MakeEdit();
  Edit->OnChange = [](core::TComponent* sender) { sender->Free(); };
  Type("ab");
  EXPECT_EQ(Form->ControlCount(), 0);
  EXPECT_TRUE(IsWindow(Form->Handle()));
}

}  // namespace
}  // namespace ui::testing
