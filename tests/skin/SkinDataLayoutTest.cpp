#include <gtest/gtest.h>

#include <string>

#include "SkinContainerFixtures.h"
#include "core/Component.h"
#include "skin/data/SkinData.h"
#include "ui/classlib/LayoutReader.h"
#include "ui/classlib/LayoutWriter.h"
#include "ui/classlib/Properties.h"

using namespace skintest;

namespace {

// A layout root that holds only components.
class TSkinHolder : public core::TComponent {
 public:
  using inherited = core::TComponent;
  using core::TComponent::TComponent;
};

std::string Hex(const Bytes& bytes) {
  static const char* const Digits = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += Digits[b >> 4];
    text += Digits[b & 0x0F];
  }
  return text;
}

class SkinDataLayoutTest : public ::testing::Test {
 protected:
  SkinDataLayoutTest() { ui::RegisterComponentClass<TSkinHolder>("TSkinHolder"); }

  core::TComponentPtr<TSkinHolder> Read(const std::string& text) {
    auto root = core::CreateUnowned<TSkinHolder>();
    ui::ReadLayout(*root, text);
    return root;
  }
  template <class T>
  T* Find(core::TComponent& root, const char* name) {
    T* found = dynamic_cast<T*>(root.FindComponent(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
};

// The skin data comes first and names components that follow it: the
// references wait until every component exists and the stored skin has
// its block, and then the skin loads.
TEST_F(SkinDataLayoutTest, ALayoutWithTheStoredSkinLoadsItOnceEveryComponentExists) {
  const Bytes block = Compress(TestContainerBytes());
  const std::string text =
      "object Holder: TSkinHolder\n"
      "  object skSkinData1: TskSkinData\n"
      "    CompressedStoredSkin = Stored1\n"
      "    EnableSkinEffects = False\n"
      "    ResourceStrData = Strings1\n"
      "  end\n"
      "  object Stored1: TskCompressedStoredSkin\n"
      "    FileName = 'test.ini'\n"
      "    Description = 'a test skin'\n"
      "    CompressedData = {" + Hex(block) + "}\n"
      "  end\n"
      "  object Strings1: TskResourceStrData\n"
      "    CharSet = 134\n"
      "    ResStrings.Strings = (\n"
      "      'MI_CLOSECAPTION=Shut')\n"
      "  end\n"
      "end\n";
  auto root = Read(text);
  auto* data = Find<skin::TskSkinData>(*root, "skSkinData1");
  auto* stored = Find<skin::TskCompressedStoredSkin>(*root, "Stored1");
  auto* strings = Find<skin::TskResourceStrData>(*root, "Strings1");
  ASSERT_TRUE(data && stored && strings);
  EXPECT_EQ(data->CompressedStoredSkin(), stored);
  EXPECT_EQ(data->ResourceStrData(), strings);
  EXPECT_FALSE(data->EnableSkinEffects());
  EXPECT_FALSE(data->Empty());
  EXPECT_EQ(data->SkinName(), "测试皮肤");
  EXPECT_EQ(stored->FileName(), "test.ini");
  EXPECT_EQ(stored->Description(), "a test skin");
  EXPECT_EQ(Bytes(stored->CompressedData().begin(), stored->CompressedData().end()), block);
  EXPECT_EQ(strings->CharSet(), 134);
  EXPECT_EQ(strings->GetResStr("MI_CLOSECAPTION"), "Shut");
  EXPECT_EQ(strings->ResStrings().Count(), 1);

  // Written, read again and written again: the same text, the same block.
  const std::string written = ui::WriteLayout(*root);
  auto again = Read(written);
  EXPECT_EQ(ui::WriteLayout(*again), written);
  auto* storedAgain = Find<skin::TskCompressedStoredSkin>(*again, "Stored1");
  ASSERT_NE(storedAgain, nullptr);
  EXPECT_EQ(Bytes(storedAgain->CompressedData().begin(), storedAgain->CompressedData().end()), block);
  EXPECT_FALSE(Find<skin::TskSkinData>(*again, "skSkinData1")->Empty());
}

// The block is written even when empty, the texts only when set, the
// defaults not at all.
TEST_F(SkinDataLayoutTest, AnEmptyBlockIsStillWrittenAndDefaultsAreNot) {
  const std::string text =
      "object Holder: TSkinHolder\n"
      "  object skSkinData1: TskSkinData\n"
      "    CompressedStoredSkin = Stored1\n"
      "  end\n"
      "  object Stored1: TskCompressedStoredSkin\n"
      "    CompressedData = {}\n"
      "  end\n"
      "end\n";
  auto root = Read(text);
  EXPECT_EQ(ui::WriteLayout(*root), text);
  auto* data = Find<skin::TskSkinData>(*root, "skSkinData1");
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->Empty());
  EXPECT_TRUE(data->EnableSkinEffects());
}

}  // namespace
