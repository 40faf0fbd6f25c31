#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/PlatformFactory.h"
#include "platform/headless/HeadlessPlatform.h"

namespace platform {
namespace {

// A backend that is a headless one under another name.
class NamedBackend : public headless::HeadlessPlatform {
 public:
  explicit NamedBackend(std::string name) : FName(std::move(name)) {}
  std::string_view Name() const override { return FName; }

 private:
  std::string FName;
};

PlatformFactory Make(std::string name) {
  return [name] { return std::make_unique<NamedBackend>(name); };
}

TEST(PlatformFactoryTest, TheMostPreferredBackendWinsUnlessOneIsNamed) {
  unsetenv("OSTVANE_PLATFORM");
  RegisterBackend("test-low", -100, Make("test-low"));
  RegisterBackend("test-high", 1000, Make("test-high"));
  EXPECT_EQ(RegisteredBackends().front(), "test-high");
  EXPECT_EQ(CreatePlatform()->Name(), "test-high");
  EXPECT_EQ(CreatePlatform("test-low")->Name(), "test-low");
  setenv("OSTVANE_PLATFORM", "test-low", 1);
  EXPECT_EQ(CreatePlatform()->Name(), "test-low");
  unsetenv("OSTVANE_PLATFORM");
  // Registering a name again replaces the earlier registration.
  RegisterBackend("test-high", -200, Make("test-high-2"));
  EXPECT_EQ(CreatePlatform("test-high")->Name(), "test-high-2");
  EXPECT_EQ(RegisteredBackends().back(), "test-high");
}

TEST(PlatformFactoryTest, AnUnknownBackendIsAnErrorNamingIt) {
  try {
    CreatePlatform("wayland");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Platform backend \"wayland\" is not linked into the program");
  }
}

}  // namespace
}  // namespace platform
