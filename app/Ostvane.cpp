#include "app/Ostvane.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "app/Unit1.h"
#include "core/Component.h"
#include "ui/classlib/Forms.h"

namespace app {

namespace {

// For the scan benchmark (bench/scan-bench.sh): splits a scan's time into
// the resolver's and everything between two lookups (message processing,
// the log line, painting), printed when the program ends.
class TimedResolver final : public platform::ArpResolver {
 public:
  explicit TimedResolver(platform::ArpResolver& inner) : FInner(inner) {}
  ~TimedResolver() override {
    if (FCount == 0) return;
    std::fprintf(stderr, "scan: %lld lookups, resolver %.1f ms, between lookups %.1f ms (%.3f ms an address)\n",
                 static_cast<long long>(FCount), FResolving.count(), FBetween.count(),
                 FCount > 1 ? FBetween.count() / double(FCount - 1) : 0.0);
  }

  std::optional<platform::MacAddress> Resolve(std::uint32_t address) override {
    const auto start = Clock::now();
    if (FLastEnd) FBetween += start - *FLastEnd;
    std::optional<platform::MacAddress> answer = FInner.Resolve(address);
    const auto end = Clock::now();
    FResolving += end - start;
    FLastEnd = end;
    ++FCount;
    return answer;
  }

 private:
  using Clock = std::chrono::steady_clock;
  using Milliseconds = std::chrono::duration<double, std::milli>;
  platform::ArpResolver& FInner;
  std::optional<Clock::time_point> FLastEnd;
  Milliseconds FResolving{0};
  Milliseconds FBetween{0};
  long long FCount = 0;
};

}  // namespace

TForm1* CreateForm1(platform::ArpResolver* resolver) {
  return ui::Application->CreateForm<TForm1>(resolver);
}

int RunOstvane(platform::ArpResolver& systemResolver) {
  std::optional<TimedResolver> timed;
  if (std::getenv("OSTVANE_SCAN_TRACE")) timed.emplace(systemResolver);
  platform::ArpResolver& resolver = timed ? static_cast<platform::ArpResolver&>(*timed) : systemResolver;
  auto application = core::CreateUnowned<ui::TApplication>();
  application->Initialize();
  application->SetTitle("Ostvane");
  CreateForm1(&resolver);
  // For the start-up benchmark (bench/ostvane-startup.sh): the first time
  // the message loop runs dry, the shown window has had its first paint.
  if (std::getenv("OSTVANE_STARTUP_TRACE")) {
    application->OnIdle = [reported = false](core::TComponent*) mutable {
      if (reported) return;
      reported = true;
      timespec now{};
      clock_gettime(CLOCK_REALTIME, &now);
      std::fprintf(stderr, "startup: first-paint %lld\n",
                   static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    };
  }
  application->Run();
  // The application frees Form1 and with it the tray icon, which takes its
  // icon out of the notification area.
  application.reset();
  return 0;
}

}  // namespace app
