#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"

namespace platform::headless {
namespace {

constexpr std::uintptr_t Owner = 0x5000;
constexpr std::uintptr_t IconId = 0x7f001230;
constexpr std::uint32_t CallbackMessage = 0x0800;

// The record the tray component sends: message, icon and tip.
NotifyIconData IconRecord(std::string tip = "Lumeth") {
  NotifyIconData data;
  data.Owner = Owner;
  data.Id = IconId;
  data.Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.CallbackMessage = CallbackMessage;
  data.Icon = gfx::Bitmap(16, 16);
  data.Icon.Fill(gfx::MakePixel(0, 128, 255));
  data.Tip = std::move(tip);
  return data;
}

NotifyIconData BalloonRecord(std::string title, std::string text, std::uint32_t timeout,
                             TBalloonKind kind) {
  NotifyIconData data = IconRecord();
  data.Flags = NIF_INFO;
  data.InfoTitle = std::move(title);
  data.Info = std::move(text);
  data.Timeout = timeout;
  data.InfoKind = kind;
  return data;
}

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

class NotifyIconHeadlessTest : public ::testing::Test {
 protected:
  std::vector<Event> Drain() {
    std::vector<Event> events;
    Event e;
    while (Headless.NextEvent(e)) events.push_back(e);
    return events;
  }
  // Code of each NotifyIcon event, 0 for TaskbarCreated, -1 for others.
  std::vector<long> Codes(const std::vector<Event>& events) {
    std::vector<long> codes;
    for (const Event& e : events) {
      if (e.Kind == EventKind::NotifyIcon) codes.push_back(long(e.Notice.Code));
      else if (e.Kind == EventKind::TaskbarCreated) codes.push_back(0);
      else codes.push_back(-1);
    }
    return codes;
  }

  HeadlessPlatform Headless;
  HeadlessNotifyIcon& Area = Headless.NotifyIconArea();
  NotifyIconService& Service = *Headless.NotifyIcons();
};

TEST_F(NotifyIconHeadlessTest, ThePlatformOffersItsArea) {
  EXPECT_EQ(Headless.NotifyIcons(), &Area);
}

TEST_F(NotifyIconHeadlessTest, EveryCallIsRecordedAsPassedWithItsAnswer) {
  NotifyIconData data = IconRecord();
  EXPECT_TRUE(Service.Add(data));
  EXPECT_FALSE(Service.Add(data)) << "the icon exists already";
  data.Flags = NIF_TIP;
  data.Tip = "scanning";
  EXPECT_TRUE(Service.Modify(data));
  data.Version = NotifyIconClassicVersion;
  EXPECT_TRUE(Service.SetVersion(data));
  EXPECT_TRUE(Service.Delete(data));
  EXPECT_FALSE(Service.Delete(data)) << "already gone";
  EXPECT_FALSE(Service.Modify(data));
  EXPECT_FALSE(Service.SetVersion(data));

  const auto& calls = Area.Calls();
  ASSERT_EQ(calls.size(), 8u);
  const NotifyIconCall expected[] = {NotifyIconCall::Add,        NotifyIconCall::Add,
                                     NotifyIconCall::Modify,     NotifyIconCall::SetVersion,
                                     NotifyIconCall::Delete,     NotifyIconCall::Delete,
                                     NotifyIconCall::Modify,     NotifyIconCall::SetVersion};
  const bool results[] = {true, false, true, true, true, false, false, false};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].Call, expected[i]) << i;
    EXPECT_EQ(calls[i].Result, results[i]) << i;
    EXPECT_EQ(calls[i].Data.Owner, Owner);
    EXPECT_EQ(calls[i].Data.Id, IconId);
  }
  EXPECT_EQ(calls[0].Data.Flags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  EXPECT_EQ(calls[0].Data.CallbackMessage, CallbackMessage);
  EXPECT_EQ(calls[0].Data.Tip, "Lumeth");
  EXPECT_EQ(calls[0].Data.Icon.Width(), 16);
  EXPECT_EQ(calls[2].Data.Tip, "scanning");

  Area.ClearCalls();
  EXPECT_TRUE(Area.Calls().empty());
}

TEST_F(NotifyIconHeadlessTest, IconsAreNamedByOwnerAndId) {
  NotifyIconData first = IconRecord("first");
  NotifyIconData sameIdOtherOwner = IconRecord("second");
  sameIdOtherOwner.Owner = Owner + 1;
  EXPECT_TRUE(Service.Add(first));
  EXPECT_TRUE(Service.Add(sameIdOtherOwner));
  EXPECT_EQ(Area.IconCount(), 2u);
  EXPECT_EQ(Area.Find(Owner, IconId)->Tip, "first");
  EXPECT_EQ(Area.Find(Owner + 1, IconId)->Tip, "second");
  EXPECT_EQ(Area.Find(Owner, IconId + 1), nullptr);
}

TEST_F(NotifyIconHeadlessTest, OnlyTheFlaggedFieldsChange) {
  ASSERT_TRUE(Service.Add(IconRecord("tip")));
  NotifyIconData change = IconRecord("ignored");
  change.Flags = NIF_ICON;
  change.Icon = gfx::Bitmap(32, 32);
  change.CallbackMessage = 0x1234;
  ASSERT_TRUE(Service.Modify(change));
  const NotifyIconState* icon = Area.Find(Owner, IconId);
  EXPECT_EQ(icon->Tip, "tip");
  EXPECT_EQ(icon->Icon.Width(), 32);
  EXPECT_EQ(icon->CallbackMessage, CallbackMessage);

  // An empty tip with NIF_TIP clears it; an empty icon is a blank one.
  change.Flags = NIF_TIP | NIF_ICON;
  change.Tip.clear();
  change.Icon = gfx::Bitmap();
  ASSERT_TRUE(Service.Modify(change));
  EXPECT_EQ(icon->Tip, "");
  EXPECT_TRUE(icon->Icon.IsEmpty());
}

TEST_F(NotifyIconHeadlessTest, TextsAreCutToTheirLimitsInCharacters) {
  // 200 Chinese characters, three bytes each: cut to 127 characters, never
  // inside one.
  ASSERT_TRUE(Service.Add(IconRecord(Repeat("扫", 200))));
  EXPECT_EQ(Area.Find(Owner, IconId)->Tip, Repeat("扫", 127));
  // The record keeps what the caller passed.
  EXPECT_EQ(Area.Calls().back().Data.Tip.size(), 600u);

  ASSERT_TRUE(Service.Modify(BalloonRecord(Repeat("t", 80), Repeat("地", 300), 10000, bkWarning)));
  const auto& balloon = Area.Find(Owner, IconId)->Balloon;
  ASSERT_TRUE(balloon.has_value());
  EXPECT_EQ(balloon->Title, Repeat("t", 63));
  EXPECT_EQ(balloon->Text, Repeat("地", 255));
  EXPECT_EQ(balloon->Timeout, 10000u);
  EXPECT_EQ(balloon->Kind, bkWarning);
}

TEST_F(NotifyIconHeadlessTest, TextsThatAreNotUtf8AreMadeSafe) {
  // A stray byte becomes U+FFFD, and a NUL ends the text as it ends the
  // classic record's fields.
  ASSERT_TRUE(Service.Add(IconRecord(std::string("ab\xff" "c\0hidden", 10))));
  EXPECT_EQ(Area.Find(Owner, IconId)->Tip, "ab\xEF\xBF\xBD" "c");
  EXPECT_EQ(CutNotifyText("\xE6\x89", 5), "\xEF\xBF\xBD") << "a truncated character";
  EXPECT_EQ(CutNotifyText("", 5), "");
  EXPECT_EQ(CutNotifyText("abc", 0), "");
}

TEST_F(NotifyIconHeadlessTest, AnEmptyBalloonTextRemovesTheBalloon) {
  ASSERT_TRUE(Service.Add(IconRecord()));
  ASSERT_TRUE(Service.Modify(BalloonRecord("Ostvane", "IP输入错误,请重新输入!", 10000, bkWarning)));
  EXPECT_TRUE(Area.Find(Owner, IconId)->Balloon.has_value());
  ASSERT_TRUE(Service.Modify(BalloonRecord("Ostvane", "", 0, bkNone)));
  EXPECT_FALSE(Area.Find(Owner, IconId)->Balloon.has_value());
  // A kind past the known ones shows no icon rather than garbage.
  ASSERT_TRUE(Service.Modify(BalloonRecord("", "x", 0, TBalloonKind(7))));
  EXPECT_EQ(Area.Find(Owner, IconId)->Balloon->Kind, bkNone);
}

TEST_F(NotifyIconHeadlessTest, StateBitsChangeOnlyWhereTheMaskSays) {
  ASSERT_TRUE(Service.Add(IconRecord()));
  NotifyIconData state = IconRecord();
  state.Flags = NIF_STATE;
  state.State = NIS_HIDDEN;
  state.StateMask = 0;
  ASSERT_TRUE(Service.Modify(state));
  EXPECT_FALSE(Area.Find(Owner, IconId)->Hidden());
  state.StateMask = NIS_HIDDEN;
  ASSERT_TRUE(Service.Modify(state));
  EXPECT_TRUE(Area.Find(Owner, IconId)->Hidden());
  state.State = 0;
  ASSERT_TRUE(Service.Modify(state));
  EXPECT_FALSE(Area.Find(Owner, IconId)->Hidden());
}

TEST_F(NotifyIconHeadlessTest, OnlyTheClassicVersionIsAccepted) {
  NotifyIconData data = IconRecord();
  ASSERT_TRUE(Service.Add(data));
  data.Version = 4;
  EXPECT_FALSE(Service.SetVersion(data));
  data.Version = 0;
  EXPECT_TRUE(Service.SetVersion(data));
}

TEST_F(NotifyIconHeadlessTest, TheClassicEntryDispatchesByNumber) {
  NotifyIconData data = IconRecord();
  EXPECT_TRUE(Service.Call(NIM_ADD, data));
  EXPECT_TRUE(Service.Call(NIM_MODIFY, data));
  EXPECT_TRUE(Service.Call(NIM_SETVERSION, data));
  EXPECT_FALSE(Service.Call(3, data)) << "no such call";
  EXPECT_TRUE(Service.Call(NIM_DELETE, data));
  const NotifyIconCall expected[] = {NotifyIconCall::Add, NotifyIconCall::Modify,
                                     NotifyIconCall::SetVersion, NotifyIconCall::Delete};
  ASSERT_EQ(Area.Calls().size(), 4u) << "an unknown number reaches no call";
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Area.Calls()[i].Call, expected[i]);
}

TEST_F(NotifyIconHeadlessTest, WithoutAnAreaEveryCallFailsAndItsReturnAnnouncesItself) {
  ASSERT_TRUE(Service.Add(IconRecord()));
  Area.SetAreaAvailable(false);
  EXPECT_EQ(Area.IconCount(), 0u) << "the area took its icons with it";
  EXPECT_FALSE(Service.Add(IconRecord()));
  EXPECT_FALSE(Service.Modify(IconRecord()));
  EXPECT_FALSE(Service.Delete(IconRecord()));
  EXPECT_EQ(Area.IconCount(), 0u);
  EXPECT_TRUE(Drain().empty());

  Area.SetAreaAvailable(true);
  auto events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Kind, EventKind::TaskbarCreated);
  EXPECT_EQ(events[0].Window, NoWindow);
  EXPECT_TRUE(Service.Add(IconRecord()));
  // Switching on an area that is there announces nothing.
  Area.SetAreaAvailable(true);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(NotifyIconHeadlessTest, ARestartForgetsTheIconsSoTheyCanBeAddedAgain) {
  ASSERT_TRUE(Service.Add(IconRecord()));
  Area.RestartArea();
  EXPECT_EQ(Codes(Drain()), std::vector<long>{0});
  EXPECT_EQ(Area.IconCount(), 0u);
  EXPECT_TRUE(Service.Add(IconRecord()));
}

TEST_F(NotifyIconHeadlessTest, OneKindOfCallCanBeMadeToFail) {
  ASSERT_TRUE(Service.Add(IconRecord("before")));
  Area.SetFailing(NotifyIconCall::Modify, true);
  EXPECT_FALSE(Service.Modify(IconRecord("after")));
  EXPECT_EQ(Area.Find(Owner, IconId)->Tip, "before") << "a failed call changes nothing";
  EXPECT_FALSE(Area.Calls().back().Result);
  EXPECT_TRUE(Service.SetVersion(IconRecord()));
  Area.SetFailing(NotifyIconCall::Modify, false);
  EXPECT_TRUE(Service.Modify(IconRecord("after")));
}

TEST_F(NotifyIconHeadlessTest, NoticesArriveInOrderWithIconMessageAndPointer) {
  ASSERT_TRUE(Service.Add(IconRecord()));
  Headless.SetCursorPosition({1001, 750});
  EXPECT_TRUE(Area.SendNotice(IconId, WM_MOUSEMOVE));
  EXPECT_TRUE(Area.SendClick(IconId, MouseButton::Right));
  EXPECT_TRUE(Area.SendDoubleClick(IconId));
  EXPECT_TRUE(Area.SendClick(IconId, MouseButton::Middle));
  EXPECT_TRUE(Area.SendNotice(IconId, NIN_BALLOONSHOW));
  EXPECT_TRUE(Area.SendNotice(IconId, NIN_BALLOONUSERCLICK));

  auto events = Drain();
  EXPECT_EQ(Codes(events),
            (std::vector<long>{WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDOWN,
                               WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_MBUTTONDOWN,
                               WM_MBUTTONUP, NIN_BALLOONSHOW, NIN_BALLOONUSERCLICK}));
  for (const Event& e : events) {
    EXPECT_EQ(e.Window, NoWindow);
    EXPECT_EQ(e.Notice.Owner, Owner);
    EXPECT_EQ(e.Notice.Id, IconId);
    EXPECT_EQ(e.Notice.CallbackMessage, CallbackMessage);
    EXPECT_EQ(e.ScreenPosition, (gfx::Point{1001, 750}));
    EXPECT_EQ(e.Time, Headless.Now());
  }
}

TEST_F(NotifyIconHeadlessTest, NoticesKeepTheirPlaceAmongInput) {
  NativeWindow window = Headless.CreateWindow(WindowOptions{WindowKind::Normal, {0, 0, 100, 100}, "w"});
  Headless.ShowWindow(window, ShowMode::ShowNoActivate);
  ASSERT_TRUE(Service.Add(IconRecord()));
  Drain();
  Headless.MoveMouse({10, 10});
  Area.SendNotice(IconId, NIN_BALLOONTIMEOUT);
  Headless.MoveMouse({20, 20});
  std::vector<EventKind> kinds;
  for (const Event& e : Drain()) kinds.push_back(e.Kind);
  EXPECT_EQ(kinds, (std::vector<EventKind>{EventKind::MouseEnter, EventKind::MouseMove,
                                           EventKind::NotifyIcon, EventKind::MouseMove}));
}

TEST_F(NotifyIconHeadlessTest, ABalloonThatEndsIsGoneAndUnknownIconsSendNothing) {
  ASSERT_TRUE(Service.Add(IconRecord()));
  ASSERT_TRUE(Service.Modify(BalloonRecord("Ostvane", "text", 1000, bkInfo)));
  Area.SendNotice(IconId, NIN_BALLOONSHOW);
  EXPECT_TRUE(Area.Find(Owner, IconId)->Balloon.has_value()) << "shown is not gone";
  Area.SendNotice(IconId, NIN_BALLOONTIMEOUT);
  EXPECT_FALSE(Area.Find(Owner, IconId)->Balloon.has_value());

  EXPECT_FALSE(Area.SendNotice(IconId + 1, WM_LBUTTONDOWN));
  EXPECT_FALSE(Area.SendClick(IconId + 1));
  EXPECT_EQ(Codes(Drain()), (std::vector<long>{NIN_BALLOONSHOW, NIN_BALLOONTIMEOUT}));
}

}  // namespace
}  // namespace platform::headless
