#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "SkinContainerFixtures.h"
#include "core/Component.h"
#include "core/Encoding.h"
#include "core/Exception.h"
#include "core/StringList.h"
#include "core/StringUtils.h"
#include "skin/data/SkinData.h"

using namespace skintest;
using skin::TskSkinData;

namespace {

struct Received {
  std::string Form;
  unsigned Message;
  std::uintptr_t WParam;
  std::intptr_t LParam;

  friend bool operator==(const Received&, const Received&) = default;
};

std::ostream& operator<<(std::ostream& out, const Received& r) {
  return out << r.Form << ":" << r.Message << "(" << r.WParam << "," << r.LParam << ")";
}

class TestFormList;

// A form as the broadcast sees it: it logs what it receives and may run a
// handler that does something drastic.
class TestForm : public core::TComponent, public skin::SkinMessageTarget {
 public:
  TestForm(core::TComponent* owner, TestFormList& list, std::string name);
  ~TestForm() override;

  std::intptr_t SendSkinMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

  std::function<void(unsigned message)> OnMessage;

 private:
  TestFormList& FList;
  std::string FFormName;
};

class TestFormList : public skin::SkinFormList {
 public:
  std::vector<skin::SkinMessageTarget*> SkinMessageTargets(const core::TComponent* owner) override {
    std::vector<skin::SkinMessageTarget*> targets;
    for (TestForm* form : Forms) {
      if (form == owner) targets.push_back(form);
    }
    for (TestForm* form : Forms) {
      if (form != owner) targets.push_back(form);
    }
    return targets;
  }
  bool HasSkinMessageTarget(const skin::SkinMessageTarget* target) override {
    return std::find(Forms.begin(), Forms.end(), target) != Forms.end();
  }

  std::vector<TestForm*> Forms;
  std::vector<Received> Log;
};

TestForm::TestForm(core::TComponent* owner, TestFormList& list, std::string name)
    : core::TComponent(owner), FList(list), FFormName(std::move(name)) {
  FList.Forms.push_back(this);
}

TestForm::~TestForm() { std::erase(FList.Forms, this); }

std::intptr_t TestForm::SendSkinMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  FList.Log.push_back({FFormName, message, wParam, lParam});
  if (OnMessage) OnMessage(message);
  return 0;
}

Bytes ContainerWithDescription(const std::string& utf8) {
  skin::SkinContainer container = TestContainer();
  container.Description = core::Utf8ToGbk(utf8);
  return skin::WriteSkinContainer(container);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class SkinDataTest : public ::testing::Test {
 protected:
  SkinDataTest() {
    FPreviousList = skin::SetSkinFormList(&Forms);
    // Application order: another form, the skin data's owner, a third.
    Other = core::CreateUnowned<TestForm>(Forms, "other");
    Main = core::CreateUnowned<TestForm>(Forms, "main");
    Third = core::CreateUnowned<TestForm>(Forms, "third");
    Data = core::Create<TskSkinData>(*Main);
    Stored = core::Create<skin::TskCompressedStoredSkin>(*Main);
  }
  ~SkinDataTest() override { skin::SetSkinFormList(FPreviousList); }

  void StoreContainer(const Bytes& container) { Stored->SetCompressedData(Compress(container)); }

  std::vector<Received> Expected(std::initializer_list<unsigned> messages) const {
    std::vector<Received> expected;
    const auto sender = reinterpret_cast<std::uintptr_t>(Data);
    for (unsigned message : messages) {
      for (const char* form : {"main", "other", "third"}) expected.push_back({form, message, sender, 1000});
    }
    return expected;
  }

  TestFormList Forms;
  core::TComponentPtr<TestForm> Other;
  core::TComponentPtr<TestForm> Main;
  core::TComponentPtr<TestForm> Third;
  TskSkinData* Data = nullptr;
  skin::TskCompressedStoredSkin* Stored = nullptr;

 private:
  skin::SkinFormList* FPreviousList = nullptr;
};

// --- loading -----------------------------------------------------------------

TEST_F(SkinDataTest, CreatedEmpty) {
  EXPECT_TRUE(Data->Empty());
  EXPECT_TRUE(Data->EnableSkinEffects());
  EXPECT_TRUE(Data->Picture().IsEmpty());
  EXPECT_TRUE(Data->ActivePictures().empty());
  EXPECT_EQ(Data->FormInfo().BGPictureIndex, -1);
  EXPECT_EQ(Data->FormInfo().CursorIndex, -1);
  EXPECT_EQ(Data->PopupWindow().WindowPictureIndex, -1);
  EXPECT_EQ(Data->HintWindow().FontHeight, 12);
  EXPECT_EQ(Data->FindControlIndex("button"), -1);
}

TEST_F(SkinDataTest, LoadBuildsPicturesSettingsAndSections) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  ASSERT_FALSE(Data->Empty());

  EXPECT_EQ(Data->Picture().Dimensions(), (gfx::Size{30, 20}));
  EXPECT_EQ(Data->Picture().SourceBits(), 8);
  EXPECT_TRUE(Data->InactivePicture().IsEmpty());
  EXPECT_EQ(Data->Mask().SourceBits(), 1);
  EXPECT_TRUE(Data->RollUpPicture().IsEmpty());
  EXPECT_TRUE(Data->RollUpMask().IsEmpty());
  ASSERT_EQ(Data->ActivePictures().size(), 2u);
  EXPECT_EQ(Data->ActivePictures()[0].Dimensions(), (gfx::Size{16, 12}));
  EXPECT_EQ(Data->ActivePictures()[1].SourceBits(), 4);

  // Description text arrives as UTF-8.
  EXPECT_EQ(Data->SkinName(), "测试皮肤");
  EXPECT_EQ(Data->SkinAuthor(), "Ostvane");
  EXPECT_EQ(Data->PictureName(), "main.bmp");
  EXPECT_EQ(Data->MaskName(), "mask.bmp");
  EXPECT_EQ(Data->InactivePictureName(), "");
  EXPECT_EQ(Data->ActivePicturesNames(), (std::vector<std::string>{"active.bmp", "controls.bmp"}));

  EXPECT_EQ(Data->FormInfo().ClientRect, (gfx::Rect{3, 5, 27, 17}));
  EXPECT_EQ(Data->FormInfo().BorderWidth, 3);
  // With a mask, null hit-test points take the corner points.
  EXPECT_EQ(Data->FormInfo().HitTestRightBottomPoint, (gfx::Point{26, 16}));
  EXPECT_EQ(Data->PopupWindow().WindowPictureIndex, 1);
  EXPECT_EQ(Data->HintWindow().WindowPictureIndex, 0);

  ASSERT_EQ(Data->SkinAreas().size(), 2u);
  EXPECT_EQ(Data->SkinAreas()[1], (skin::TskDataSkinArea{"drag", {5, 6, 7, 8}}));

  ASSERT_EQ(Data->SkinObjects().size(), 3u);
  const auto* caption = dynamic_cast<const skin::TskDataSkinCaption*>(Data->SkinObjects()[0].get());
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->SkinRect, (gfx::Rect{27, 6, 56, 24}));
  EXPECT_EQ(caption->FontHeight, 12);
  const auto* close = dynamic_cast<const skin::TskDataSkinStdButton*>(Data->SkinObjects()[1].get());
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->Command, skin::TskStdCommand::cmClose);

  // The kind no class is bound to is skipped.
  ASSERT_EQ(Data->SkinControls().size(), 3u);
  EXPECT_NE(dynamic_cast<const skin::TskDataSkinButtonControl*>(Data->SkinControls()[0].get()), nullptr);
  const auto* groupbox = dynamic_cast<const skin::TskDataSkinPanelControl*>(Data->SkinControls()[1].get());
  ASSERT_NE(groupbox, nullptr);
  EXPECT_EQ(groupbox->SectionName, "groupbox");
  EXPECT_EQ(Data->SkinControls()[2]->SectionName, "vscrollbar");
  EXPECT_NE(dynamic_cast<const skin::TskDataSkinScrollBarControl*>(Data->SkinControls()[2].get()), nullptr);
  const auto* button = dynamic_cast<const skin::TskDataSkinButtonControl*>(Data->SkinControls()[0].get());
  EXPECT_EQ(button->FontName, "宋体");

  const Bytes container = TestContainerBytes();
  EXPECT_EQ(Data->ContainerInfo().Version, 2);
  EXPECT_EQ(Data->ContainerInfo().UncompressedBytes, container.size());
  EXPECT_EQ(Data->ContainerInfo().DescriptionBytes, TestDescriptionGbk().size());
  EXPECT_EQ(Data->ContainerInfo().DescriptionOffset, container.size() - TestDescriptionGbk().size());
}

TEST_F(SkinDataTest, LoadTellsEveryFormOwnerFirst) {
  StoreContainer(TestContainerBytes());
  std::vector<std::pair<unsigned, bool>> emptyWhenReceived;
  std::vector<int> buttonIndexWhenReceived;
  Main->OnMessage = [&](unsigned message) {
    emptyWhenReceived.emplace_back(message, Data->Empty());
    buttonIndexWhenReceived.push_back(Data->FindControlIndex("button"));
  };
  Data->SetCompressedStoredSkin(Stored);

  EXPECT_EQ(Forms.Log, Expected({skin::WMSKIN_BEFORECHANGE, skin::WMSKIN_CHANGED, skin::WMSKIN_AFTERCHANGE}));
  // Before the change the old skin is still there (none here); after it
  // the new skin is complete.
  EXPECT_EQ(emptyWhenReceived, (std::vector<std::pair<unsigned, bool>>{
                                   {1225, true}, {1226, false}, {1227, false}}));
  EXPECT_EQ(buttonIndexWhenReceived, (std::vector<int>{-1, 0, 0}));
}

TEST_F(SkinDataTest, ReloadKeepsTheOldSkinUntilTheFirstMessageIsHandled) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  int buttonIndex = -2;
  Main->OnMessage = [&](unsigned message) {
    if (message == skin::WMSKIN_BEFORECHANGE) buttonIndex = Data->FindControlIndex("button");
  };
  Data->SetCompressedStoredSkin(Stored);
  EXPECT_EQ(buttonIndex, 0);
  EXPECT_FALSE(Data->Empty());
}

TEST_F(SkinDataTest, WithoutOwnerFormEveryFormIsToldInApplicationOrder) {
  auto loose = core::CreateUnowned<TskSkinData>();
  StoreContainer(TestContainerBytes());
  loose->LoadFromCompressedStoredSkin(*Stored);
  ASSERT_EQ(Forms.Log.size(), 9u);
  EXPECT_EQ(Forms.Log[0].Form, "other");
  EXPECT_EQ(Forms.Log[1].Form, "main");
  EXPECT_EQ(Forms.Log[2].Form, "third");
}

TEST_F(SkinDataTest, WithoutFormListNothingIsSentAndTheSkinLoads) {
  skin::SkinFormList* installed = skin::SetSkinFormList(nullptr);
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  skin::SetSkinFormList(installed);
  EXPECT_FALSE(Data->Empty());
  EXPECT_TRUE(Forms.Log.empty());
}

// --- failed loads ------------------------------------------------------------

class FailedLoadTest : public SkinDataTest {
 protected:
  // Loads the test skin, then tries the damaged one.
  template <class Error>
  void ExpectFailedLoad(const Bytes& block) {
    StoreContainer(TestContainerBytes());
    Data->SetCompressedStoredSkin(Stored);
    ASSERT_FALSE(Data->Empty());
    Forms.Log.clear();

    Stored->SetCompressedData(block);
    EXPECT_THROW(Data->SetCompressedStoredSkin(Stored), Error);
    EXPECT_EQ(Forms.Log, Expected({skin::WMSKIN_BEFORECHANGE}));
    ExpectNothingLoaded();
  }

  void ExpectNothingLoaded() {
    EXPECT_TRUE(Data->Empty());
    EXPECT_TRUE(Data->Picture().IsEmpty());
    EXPECT_TRUE(Data->Mask().IsEmpty());
    EXPECT_TRUE(Data->ActivePictures().empty());
    EXPECT_TRUE(Data->SkinAreas().empty());
    EXPECT_TRUE(Data->SkinObjects().empty());
    EXPECT_TRUE(Data->SkinControls().empty());
    EXPECT_EQ(Data->FindControlIndex("button"), -1);
  }
};

TEST_F(FailedLoadTest, DamagedBlock) {
  Bytes block = Compress(TestContainerBytes());
  block[block.size() / 2] ^= 0xA5;
  ExpectFailedLoad<core::EDecompressionError>(block);
}

TEST_F(FailedLoadTest, MalformedRectangleInAControlSection) {
  const std::string text = Replace(TestDescriptionUtf8(), "skinrect=1,1,8,6", "skinrect=1,1,8");
  ExpectFailedLoad<core::EConvertError>(Compress(ContainerWithDescription(text)));
}

TEST_F(FailedLoadTest, MalformedAreaRectangle) {
  const std::string text = Replace(TestDescriptionUtf8(), "1=drag:5,6,7,8", "1=drag:5,,7,8");
  ExpectFailedLoad<core::EConvertError>(Compress(ContainerWithDescription(text)));
}

// Lists may together build about one entry or line per byte of the
// description: thousands of objects that each ask for 65 536 lines fail as
// a damaged skin does, while a description as long as what it asks for
// loads.
TEST_F(FailedLoadTest, ListsBeyondTheDescriptionBudget) {
  std::string hostile = "[VERSION]\n[s]\nsymbolslinecount=65536\n[SKINOBJECTS]\ncount=20000\n";
  for (int i = 0; i < 20000; ++i) hostile += std::to_string(i) + "=s:bitlabel\n";
  ExpectFailedLoad<core::EReadError>(Compress(ContainerWithDescription(hostile)));

  std::string sharedSection = "[b]\n[SKINCONTROLS]\ncount=80000\n";
  for (int i = 0; i < 80000; ++i) sharedSection += std::to_string(i) + "=b:button\n";
  ExpectFailedLoad<core::EReadError>(Compress(ContainerWithDescription(sharedSection)));

  std::string fair = "[s]\nsymbolslinecount=65536\n[SKINOBJECTS]\ncount=15\n";
  for (int i = 0; i < 15; ++i) fair += std::to_string(i) + "=s:bitlabel\n";
  StoreContainer(ContainerWithDescription(fair));
  Data->SetCompressedStoredSkin(Stored);
  ASSERT_EQ(Data->SkinObjects().size(), 15u);
}

TEST_F(FailedLoadTest, MalformedPointInFormInfo) {
  const std::string text = Replace(TestDescriptionUtf8(), "lefttoppoint=4,4", "lefttoppoint=4");
  ExpectFailedLoad<core::EConvertError>(Compress(ContainerWithDescription(text)));
}

TEST_F(FailedLoadTest, TruncatedPicture) {
  Bytes container = TestContainerBytes();
  container.resize(200);
  ExpectFailedLoad<core::EReadError>(Compress(container));
}

TEST_F(FailedLoadTest, UnsupportedVersionStopsSilently) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  Forms.Log.clear();

  skin::SkinContainer container = TestContainer();
  container.Version = 4;
  Bytes bytes = skin::WriteSkinContainer(container);
  bytes.push_back(0xEE);  // whatever a later version holds
  StoreContainer(bytes);
  Data->SetCompressedStoredSkin(Stored);
  EXPECT_EQ(Forms.Log, Expected({skin::WMSKIN_BEFORECHANGE}));
  ExpectNothingLoaded();
  EXPECT_EQ(Data->ContainerInfo().Version, 4);
}

TEST_F(FailedLoadTest, EmptyBlockChangesNothingAndSendsNothing) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  Forms.Log.clear();

  auto empty = core::CreateUnowned<skin::TskCompressedStoredSkin>();
  Data->SetCompressedStoredSkin(empty.get());
  EXPECT_TRUE(Forms.Log.empty());
  EXPECT_FALSE(Data->Empty());
  EXPECT_EQ(Data->FindControlIndex("button"), 0);
}

TEST_F(FailedLoadTest, AGoodLoadAfterAFailedOneWorks) {
  Bytes block = Compress(TestContainerBytes());
  block[10] ^= 0xFF;
  ExpectFailedLoad<core::EDecompressionError>(block);
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  EXPECT_FALSE(Data->Empty());
  EXPECT_EQ(Data->SkinControls().size(), 3u);
}

// --- receivers that change the world ----------------------------------------

TEST_F(SkinDataTest, ReceiverMayDestroyTheSkinData) {
  StoreContainer(TestContainerBytes());
  Main->OnMessage = [&](unsigned message) {
    if (message == skin::WMSKIN_BEFORECHANGE) Data->Free();
  };
  Data->SetCompressedStoredSkin(Stored);
  // Only the owner heard of it; the load stopped there.
  ASSERT_EQ(Forms.Log.size(), 1u);
  EXPECT_EQ(Forms.Log[0].Form, "main");
}

TEST_F(SkinDataTest, ReceiverMayDestroyTheSkinDataAfterTheChange) {
  StoreContainer(TestContainerBytes());
  Other->OnMessage = [&](unsigned message) {
    if (message == skin::WMSKIN_CHANGED) Data->Free();
  };
  Data->SetCompressedStoredSkin(Stored);
  ASSERT_EQ(Forms.Log.size(), 5u);
  EXPECT_EQ(Forms.Log.back(), (Received{"other", skin::WMSKIN_CHANGED, Forms.Log.back().WParam, 1000}));
}

TEST_F(SkinDataTest, ReceiverMayDestroyTheStoredSkin) {
  StoreContainer(TestContainerBytes());
  Main->OnMessage = [&](unsigned message) {
    if (message == skin::WMSKIN_BEFORECHANGE && Stored) {
      Stored->Free();
      Stored = nullptr;
    }
  };
  Data->SetCompressedStoredSkin(Stored);
  EXPECT_FALSE(Data->Empty());
  EXPECT_EQ(Data->CompressedStoredSkin(), nullptr);
}

TEST_F(SkinDataTest, ReceiverMayCloseAnotherForm) {
  StoreContainer(TestContainerBytes());
  Main->OnMessage = [&](unsigned message) {
    if (message == skin::WMSKIN_CHANGED) Third.reset();
  };
  Data->SetCompressedStoredSkin(Stored);
  std::vector<std::string> order;
  for (const Received& r : Forms.Log) order.push_back(r.Form + std::to_string(r.Message));
  EXPECT_EQ(order, (std::vector<std::string>{"main1225", "other1225", "third1225", "main1226", "other1226",
                                             "main1227", "other1227"}));
}

// --- lookups -------------------------------------------------------------------

TEST_F(SkinDataTest, LookupsAreExactCaseSensitiveAndFindTheFirst) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);

  EXPECT_EQ(Data->FindAreaIndex("close"), 0);
  EXPECT_EQ(Data->FindAreaIndex("drag"), 1);
  EXPECT_EQ(Data->FindAreaIndex("Close"), -1);

  EXPECT_EQ(Data->FindObjectIndex("caption1"), 0);
  // Two objects named closebutton: the first, a standard button.
  EXPECT_EQ(Data->FindObjectIndex("closebutton"), 1);
  EXPECT_NE(dynamic_cast<const skin::TskDataSkinStdButton*>(Data->SkinObjects()[1].get()), nullptr);
  EXPECT_EQ(Data->FindObjectIndex("CLOSEBUTTON"), -1);
  EXPECT_EQ(Data->FindObjectIndex("closebutton "), -1);
  EXPECT_EQ(Data->FindObjectIndex(""), -1);

  EXPECT_EQ(Data->FindControlIndex("button"), 0);
  EXPECT_EQ(Data->FindControlIndex("vscrollbar"), 2);
  EXPECT_EQ(Data->FindControlIndex("VSCROLLBAR"), -1);
  EXPECT_EQ(Data->FindControlIndex("header"), -1);
  EXPECT_EQ(Data->FindControlIndex("butto"), -1);
}

TEST_F(SkinDataTest, ClearObjectsThenClearAll) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);

  Data->ClearObjects();
  EXPECT_TRUE(Data->SkinAreas().empty());
  EXPECT_TRUE(Data->SkinObjects().empty());
  EXPECT_TRUE(Data->SkinControls().empty());
  EXPECT_TRUE(Data->ActivePictures().empty());
  EXPECT_TRUE(Data->ActivePicturesNames().empty());
  EXPECT_EQ(Data->PopupWindow().WindowPictureIndex, -1);
  EXPECT_EQ(Data->HintWindow().WindowPictureIndex, -1);
  // The frame stays until ClearAll.
  EXPECT_FALSE(Data->Picture().IsEmpty());
  EXPECT_EQ(Data->MaskName(), "mask.bmp");
  EXPECT_FALSE(Data->Empty());

  Data->ClearAll();
  EXPECT_TRUE(Data->Picture().IsEmpty());
  EXPECT_TRUE(Data->Mask().IsEmpty());
  EXPECT_EQ(Data->PictureName(), "");
  EXPECT_EQ(Data->MaskName(), "");
  EXPECT_TRUE(Data->Empty());
  // Neither sends anything.
  EXPECT_EQ(Forms.Log.size(), 3u * 3u);
}

// --- references ----------------------------------------------------------------

TEST_F(SkinDataTest, DestroyedStoredSkinClearsTheReferenceAndTheSkinStays) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  Stored->Free();
  EXPECT_EQ(Data->CompressedStoredSkin(), nullptr);
  EXPECT_FALSE(Data->Empty());
  EXPECT_EQ(Data->FindControlIndex("vscrollbar"), 2);
}

TEST_F(SkinDataTest, DestroyedResourceTextsClearTheReference) {
  auto texts = core::CreateUnowned<skin::TskResourceStrData>();
  Data->SetResourceStrData(texts.get());
  EXPECT_EQ(Data->ResourceStrData(), texts.get());
  texts.reset();
  EXPECT_EQ(Data->ResourceStrData(), nullptr);
}

TEST_F(SkinDataTest, ReplacedReferenceNoLongerNotifies) {
  StoreContainer(TestContainerBytes());
  auto first = core::CreateUnowned<skin::TskCompressedStoredSkin>();
  first->SetCompressedData(Compress(TestContainerBytes()));
  Data->SetCompressedStoredSkin(first.get());
  Data->SetCompressedStoredSkin(Stored);
  first.reset();
  EXPECT_EQ(Data->CompressedStoredSkin(), Stored);
}

TEST_F(SkinDataTest, AtDesignTimeSettersNeitherLoadNorSend) {
  StoreContainer(TestContainerBytes());
  Data->SetDesigning(true);
  Data->SetCompressedStoredSkin(Stored);
  auto texts = core::CreateUnowned<skin::TskResourceStrData>();
  Data->SetResourceStrData(texts.get());
  EXPECT_TRUE(Data->Empty());
  EXPECT_TRUE(Forms.Log.empty());
  EXPECT_EQ(Data->CompressedStoredSkin(), Stored);
}

TEST_F(SkinDataTest, SettingResourceTextsTellsEveryForm) {
  auto texts = core::CreateUnowned<skin::TskResourceStrData>();
  Data->SetResourceStrData(texts.get());
  Data->SetResourceStrData(nullptr);
  EXPECT_EQ(Forms.Log, Expected({skin::WMSKIN_RESSTRCHANGED, skin::WMSKIN_RESSTRCHANGED}));
}

TEST_F(SkinDataTest, DestroyingTheSkinDataSendsNothing) {
  StoreContainer(TestContainerBytes());
  Data->SetCompressedStoredSkin(Stored);
  Forms.Log.clear();
  Data->Free();
  EXPECT_TRUE(Forms.Log.empty());
}

// --- resource texts ------------------------------------------------------------

TEST(ResourceStrData, DefaultLines) {
  auto texts = core::CreateUnowned<skin::TskResourceStrData>();
  const core::TStringList& lines = texts->ResStrings();
  ASSERT_EQ(lines.Count(), 115);
  EXPECT_EQ(lines.Line(0), "MI_MINCAPTION=Mi&nimize");
  EXPECT_EQ(lines.Line(1), "MI_MAXCAPTION=Ma&ximize");
  EXPECT_EQ(lines.Line(2), "MI_CLOSECAPTION=&Close");
  EXPECT_EQ(lines.Line(3), "MI_RESTORECAPTION=&Restore");
  EXPECT_EQ(lines.Line(4), "MI_MINTOTRAYCAPTION=Minimize to &Tray");
  EXPECT_EQ(lines.Line(5), "MI_ROLLUPCAPTION=Ro&llUp");
  EXPECT_EQ(lines.Line(6), "MINBUTTON_HINT=Minimize");
  EXPECT_EQ(lines.Line(7), "MAXBUTTON_HINT=Maximize");
  EXPECT_EQ(lines.Line(8), "CLOSEBUTTON_HINT=Close");
  EXPECT_EQ(lines.Line(9), "TRAYBUTTON_HINT=Minimize to Tray");
  EXPECT_EQ(lines.Line(10), "ROLLUPBUTTON_HINT=Roll Up");
  EXPECT_EQ(lines.Line(11), "MENUBUTTON_HINT=System menu");
  EXPECT_EQ(lines.Line(12), "EDIT_UNDO=Undo");
  EXPECT_EQ(lines.Line(13), "EDIT_COPY=Copy");
  EXPECT_EQ(lines.Line(14), "EDIT_CUT=Cut");
  EXPECT_EQ(lines.Line(15), "EDIT_PASTE=Paste");
  EXPECT_EQ(lines.Line(16), "EDIT_DELETE=Delete");
  EXPECT_EQ(lines.Line(17), "EDIT_SELECTALL=Select All");
  EXPECT_EQ(lines.Names(18), "MSG_BTN_YES");
  EXPECT_EQ(lines.Names(51), "ERROR");
  EXPECT_EQ(lines.Names(104), "FIND_NEXT");
  EXPECT_EQ(lines.Names(113), "FIND_REPLACE_All");
  EXPECT_EQ(lines.Names(114), "FIND_REPLACE_CLOSE");
  // Every line has a name and a text, and no name comes twice.
  std::vector<std::string> names;
  for (int i = 0; i < lines.Count(); ++i) {
    EXPECT_FALSE(lines.ValueFromIndex(i).empty()) << lines.Line(i);
    names.push_back(core::UpperCase(lines.Names(i)));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  EXPECT_EQ(texts->CharSet(), 1);
}

TEST(ResourceStrData, GetResStrIgnoresCaseAndTakesTheFirstLine) {
  auto texts = core::CreateUnowned<skin::TskResourceStrData>();
  EXPECT_EQ(texts->GetResStr("MI_CLOSECAPTION"), "&Close");
  EXPECT_EQ(texts->GetResStr("mi_closecaption"), "&Close");
  EXPECT_EQ(texts->GetResStr("NOSUCHNAME"), "");
  EXPECT_EQ(texts->GetResStr("MI_CLOSE"), "");

  core::TStringList replaced;
  replaced.Add("TITLE=a=b");
  replaced.Add("title=second");
  replaced.Add("no equals sign");
  texts->SetResStrings(replaced);
  replaced.Clear();
  EXPECT_EQ(texts->ResStrings().Count(), 3);
  EXPECT_EQ(texts->GetResStr("Title"), "a=b");
  EXPECT_EQ(texts->GetResStr("no equals sign"), "");
  EXPECT_EQ(texts->GetResStr("MI_CLOSECAPTION"), "");
}

}  // namespace
