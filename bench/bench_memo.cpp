// Appending lines to a memo, the way a scan fills its log: 100 000 lines,
// timed per line over the first 1000 and over the last 1000. Both should
// cost the same: an append touches the new line only (no whole-text
// rebuild, no re-wrap of what is there). "Painted" runs the message loop
// after every line, as the scan does between two addresses.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/headless/HeadlessPlatform.h"
#include "ui/classlib/Forms.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/WindowSystem.h"

namespace {

constexpr int TotalLines = 100000;
constexpr int Measured = 1000;

std::string ResultLine(int index) {
  return "192.168." + std::to_string(index / 254 % 256) + "." + std::to_string(index % 254 + 1) + ":00-1A-2B-3C-4D-" +
         std::to_string(10 + index % 90);
}

struct Desk {
  Desk() : System(std::make_unique<platform::headless::HeadlessPlatform>()) {
    App = core::CreateUnowned<ui::TApplication>();
    Form = App->CreateForm<ui::TForm>();
    Form->SetBounds(100, 100, 10, 10);
    Form->SetClientSize(500, 420);
    Memo = core::Create<ui::TMemo>(*Form);
    Memo->SetParent(Form);
    Memo->SetBounds(1, 8, 471, 404);
    Form->Show();
    App->ProcessMessages();
  }
  ~Desk() { App.reset(); }

  ui::WindowSystem System;
  core::TComponentPtr<ui::TApplication> App;
  ui::TForm* Form = nullptr;
  ui::TMemo* Memo = nullptr;
};

void Append(benchmark::State& state, bool atEnd, bool painted) {
  Desk desk;
  desk.Memo->SetWordWrap(state.range(0) != 0);
  core::TStrings* lines = desk.Memo->Lines();
  for (auto _ : state) {
    state.PauseTiming();
    lines->Clear();
    int first = atEnd ? TotalLines - Measured : 0;
    for (int i = 0; i < first; ++i) lines->Add(ResultLine(i));
    desk.App->ProcessMessages();
    state.ResumeTiming();
    for (int i = first; i < first + Measured; ++i) {
      lines->Add(ResultLine(i));
      if (painted) desk.App->ProcessMessages();
    }
  }
  if (lines->Count() != (atEnd ? TotalLines : Measured)) state.SkipWithError("lines were lost");
  state.counters["per_line"] =
      benchmark::Counter(double(Measured) * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void AppendFirst1000(benchmark::State& state) { Append(state, false, false); }
void AppendLast1000(benchmark::State& state) { Append(state, true, false); }
void AppendFirst1000Painted(benchmark::State& state) { Append(state, false, true); }
void AppendLast1000Painted(benchmark::State& state) { Append(state, true, true); }

// Argument: word wrap off (0) or on (1).
BENCHMARK(AppendFirst1000)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(AppendLast1000)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(3);
BENCHMARK(AppendFirst1000Painted)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(AppendLast1000Painted)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
