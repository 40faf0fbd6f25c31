// Dispatch cost of the message queue: messages posted to a window and
// taken back with GetMessage/DispatchMessage to its procedure.

#include <benchmark/benchmark.h>

#include <memory>

#include "platform/headless/HeadlessPlatform.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

namespace {

void PostAndDispatch(benchmark::State& state) {
  ui::WindowSystem system(std::make_unique<platform::headless::HeadlessPlatform>());
  ui::WindowClass counting;
  counting.Name = "Counting";
  std::int64_t received = 0;
  counting.Procedure = ui::MakeWindowProc([&](ui::HWND w, ui::UINT m, ui::WPARAM wp, ui::LPARAM lp) -> ui::LRESULT {
    if (m == ui::WM_USER) {
      received += std::int64_t(wp);
      return 0;
    }
    return ui::DefWindowProc(w, m, wp, lp);
  });
  ui::RegisterClass(counting);
  ui::HWND window = ui::CreateWindowEx(0, "Counting", "", ui::WS_POPUP, 0, 0, 10, 10, nullptr);
  const std::int64_t count = state.range(0);
  for (auto _ : state) {
    for (std::int64_t i = 0; i < count; ++i) ui::PostMessage(window, ui::WM_USER, 1, 0);
    ui::TMsg message;
    for (std::int64_t i = 0; i < count; ++i) {
      ui::GetMessage(message);
      ui::DispatchMessage(message);
    }
  }
  if (received != count * std::int64_t(state.iterations())) state.SkipWithError("messages were lost");
  // Reported per message.
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["per_message"] =
      benchmark::Counter(double(count) * double(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  ui::DestroyWindow(window);
}
BENCHMARK(PostAndDispatch)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same through SendMessage, for comparison: the procedure call alone.
void Send(benchmark::State& state) {
  ui::WindowSystem system(std::make_unique<platform::headless::HeadlessPlatform>());
  ui::HWND window = ui::CreateWindowEx(0, ui::DefaultWindowClassName, "", ui::WS_POPUP, 0, 0, 10, 10, nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(ui::SendMessage(window, ui::WM_USER, 1, 0));
  state.SetItemsProcessed(state.iterations());
  ui::DestroyWindow(window);
}
BENCHMARK(Send);

}  // namespace

BENCHMARK_MAIN();
