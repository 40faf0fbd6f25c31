#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SkinContainerFixtures.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinFormsAdapter.h"
#include "tests/ui/FormTestSupport.h"

using namespace skintest;

namespace {

struct Heard {
  std::string Form;
  unsigned Message;
  std::uintptr_t WParam;
  std::intptr_t LParam;

  friend bool operator==(const Heard&, const Heard&) = default;
};

std::ostream& operator<<(std::ostream& out, const Heard& h) {
  return out << h.Form << ":" << h.Message << "(" << h.WParam << "," << h.LParam << ")";
}

bool IsSkinMessage(ui::UINT message) {
  return message == skin::WMSKIN_BEFORECHANGE || message == skin::WMSKIN_CHANGED ||
         message == skin::WMSKIN_AFTERCHANGE || message == skin::WMSKIN_RESSTRCHANGED;
}

// A form that writes the skin messages its window receives into a log the
// test shares between forms, and may act on one.
class TListeningForm : public ui::TForm {
 public:
  using inherited = ui::TForm;
  TListeningForm(core::TComponent* owner, std::vector<Heard>& log, std::string name)
      : ui::TForm(owner), FLog(log), FFormName(std::move(name)) {}

  std::function<void(unsigned message)> OnSkinMessage;
  bool HadWindow = false;

  void Dispatch(ui::TMessage& message) override {
    if (IsSkinMessage(message.Msg)) {
      HadWindow = HandleAllocated();
      FLog.push_back({FFormName, message.Msg, message.WParam, message.LParam});
      if (OnSkinMessage) OnSkinMessage(message.Msg);
      return;
    }
    inherited::Dispatch(message);
  }

 private:
  std::vector<Heard>& FLog;
  std::string FFormName;
};

class SkinFormsAdapterTest : public ui::testing::FormTest {
 protected:
  // The application's list is installed by the skin data component itself.
  SkinFormsAdapterTest() : FPrevious(skin::SetSkinFormList(nullptr)) {}
  ~SkinFormsAdapterTest() override { skin::SetSkinFormList(FPrevious); }

  TListeningForm* MakeListeningForm(const std::string& name) {
    return App->CreateForm<TListeningForm>(Log, name);
  }

  // A stored skin with the test container, owned by owner.
  skin::TskCompressedStoredSkin* MakeStoredSkin(core::TComponent& owner) {
    auto* stored = core::Create<skin::TskCompressedStoredSkin>(owner);
    stored->SetCompressedData(Compress(TestContainerBytes()));
    return stored;
  }

  std::vector<Heard> Expected(const std::vector<std::string>& forms, std::uintptr_t sender,
                              std::initializer_list<unsigned> messages) const {
    std::vector<Heard> expected;
    for (unsigned message : messages) {
      for (const std::string& form : forms) expected.push_back({form, message, sender, skin::SkinMessageLParam});
    }
    return expected;
  }

  std::vector<Heard> Log;

 private:
  skin::SkinFormList* FPrevious;
};

TEST_F(SkinFormsAdapterTest, ALoadReachesTheOwnerFormFirstThenTheOtherFormsInTheirOrder) {
  TListeningForm* first = MakeListeningForm("first");
  TListeningForm* second = MakeListeningForm("second");
  TListeningForm* third = MakeListeningForm("third");
  auto* data = core::Create<skin::TskSkinData>(*second);
  EXPECT_EQ(skin::GetSkinFormList(), &skin::ApplicationSkinFormList());

  data->SetCompressedStoredSkin(MakeStoredSkin(*second));

  EXPECT_FALSE(data->Empty());
  EXPECT_EQ(Log, Expected({"second", "first", "third"}, reinterpret_cast<std::uintptr_t>(data),
                          {skin::WMSKIN_BEFORECHANGE, skin::WMSKIN_CHANGED, skin::WMSKIN_AFTERCHANGE}));
  // No form was shown: the broadcast made their windows.
  for (TListeningForm* form : {first, second, third}) {
    EXPECT_TRUE(form->HadWindow);
    EXPECT_FALSE(form->Visible());
  }
}

TEST_F(SkinFormsAdapterTest, SkinDataOutsideAnyFormTellsEveryFormInOrder) {
  MakeListeningForm("first");
  MakeListeningForm("second");
  auto* data = core::Create<skin::TskSkinData>(*App);
  data->SetCompressedStoredSkin(MakeStoredSkin(*App));
  EXPECT_EQ(Log, Expected({"first", "second"}, reinterpret_cast<std::uintptr_t>(data),
                          {skin::WMSKIN_BEFORECHANGE, skin::WMSKIN_CHANGED, skin::WMSKIN_AFTERCHANGE}));
}

TEST_F(SkinFormsAdapterTest, AFormClosedByAnEarlierReceiverIsSkipped) {
  TListeningForm* first = MakeListeningForm("first");
  TListeningForm* second = MakeListeningForm("second");
  auto* data = core::Create<skin::TskSkinData>(*first);
  first->OnSkinMessage = [&](unsigned message) {
    if (message == skin::WMSKIN_BEFORECHANGE && second) {
      second->Free();
      second = nullptr;
    }
  };
  data->SetCompressedStoredSkin(MakeStoredSkin(*first));
  EXPECT_EQ(Log, Expected({"first"}, reinterpret_cast<std::uintptr_t>(data),
                          {skin::WMSKIN_BEFORECHANGE, skin::WMSKIN_CHANGED, skin::WMSKIN_AFTERCHANGE}));
  EXPECT_FALSE(data->Empty());
}

TEST_F(SkinFormsAdapterTest, AReceiverThatLoadsAnotherSkinDoesNotUpsetTheOuterBroadcast) {
  TListeningForm* first = MakeListeningForm("first");
  TListeningForm* second = MakeListeningForm("second");
  auto* outer = core::Create<skin::TskSkinData>(*first);
  auto* inner = core::Create<skin::TskSkinData>(*second);
  skin::TskCompressedStoredSkin* innerSkin = MakeStoredSkin(*second);
  // While the first form handles the outer change, a form it creates and
  // frees comes and goes, and the second form's skin loads.
  first->OnSkinMessage = [&](unsigned message) {
    if (message != skin::WMSKIN_BEFORECHANGE || inner->CompressedStoredSkin()) return;
    ui::TForm* passing = App->CreateForm<ui::TForm>();
    passing->HandleNeeded();
    passing->Free();
    inner->SetCompressedStoredSkin(innerSkin);
  };
  outer->SetCompressedStoredSkin(MakeStoredSkin(*first));

  const auto outerId = reinterpret_cast<std::uintptr_t>(outer);
  const auto innerId = reinterpret_cast<std::uintptr_t>(inner);
  std::vector<Heard> expected = {{"first", skin::WMSKIN_BEFORECHANGE, outerId, 1000}};
  for (unsigned message : {skin::WMSKIN_BEFORECHANGE, skin::WMSKIN_CHANGED, skin::WMSKIN_AFTERCHANGE}) {
    expected.push_back({"second", message, innerId, 1000});
    expected.push_back({"first", message, innerId, 1000});
  }
  expected.push_back({"second", skin::WMSKIN_BEFORECHANGE, outerId, 1000});
  for (unsigned message : {skin::WMSKIN_CHANGED, skin::WMSKIN_AFTERCHANGE}) {
    expected.push_back({"first", message, outerId, 1000});
    expected.push_back({"second", message, outerId, 1000});
  }
  EXPECT_EQ(Log, expected);
}

TEST_F(SkinFormsAdapterTest, ATestsOwnListStaysAndWithoutApplicationNothingIsInstalled) {
  struct NoForms : skin::SkinFormList {
    std::vector<skin::SkinMessageTarget*> SkinMessageTargets(const core::TComponent*) override { return {}; }
    bool HasSkinMessageTarget(const skin::SkinMessageTarget*) override { return false; }
  } own;
  skin::SetSkinFormList(&own);
  EXPECT_FALSE(skin::UseApplicationSkinFormList());
  EXPECT_EQ(skin::GetSkinFormList(), &own);

  skin::SetSkinFormList(nullptr);
  App.reset();
  auto data = core::CreateUnowned<skin::TskSkinData>();
  EXPECT_EQ(skin::GetSkinFormList(), nullptr);
  // With no application the list knows no form.
  EXPECT_TRUE(skin::ApplicationSkinFormList().SkinMessageTargets(nullptr).empty());
}

}  // namespace
