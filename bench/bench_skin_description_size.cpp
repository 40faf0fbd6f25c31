// A skin load through the skin data component as its description grows:
// 2 000 to 16 000 sections, half skin objects and half control sections,
// each listed in [SKINOBJECTS] or [SKINCONTROLS]. The time per section
// (the "per_section" counter) should not grow with the size.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Compression.h"
#include "skin/data/SkinData.h"

namespace {

void Key(std::string& text, const std::string& key, const std::string& value) {
  text += key + "=" + value + "\r\n";
}

std::string Description(int sections) {
  const int objects = sections / 2;
  const int controls = sections - objects;
  std::string text = "[VERSION]\r\nskinname=size\r\n[PICTURES]\r\n[FORMINFO]\r\nclientrect=5,29,147,120\r\n";
  text += "[SKINOBJECTS]\r\ncount=" + std::to_string(objects) + "\r\n";
  for (int i = 0; i < objects; ++i) {
    Key(text, std::to_string(i), "object" + std::to_string(i) + (i % 2 ? ":bitlabel" : ":stdbutton"));
  }
  text += "[SKINCONTROLS]\r\ncount=" + std::to_string(controls) + "\r\n";
  for (int i = 0; i < controls; ++i) Key(text, std::to_string(i), "control" + std::to_string(i) + ":button");
  for (int i = 0; i < objects; ++i) {
    text += "[object" + std::to_string(i) + "]\r\n";
    Key(text, "skinrect", "1,2,21,22");
    Key(text, "activeskinrect", "21,2,41,22");
    Key(text, "command", "cmclose");
    if (i % 2) {
      Key(text, "symbolwidth", "7");
      Key(text, "symbolslinecount", "4");
      for (int line = 0; line < 4; ++line) Key(text, "symbolsline" + std::to_string(line), "0123456789");
    }
  }
  for (int i = 0; i < controls; ++i) {
    text += "[control" + std::to_string(i) + "]\r\n";
    Key(text, "pictureindex", "0");
    Key(text, "skinrect", "0,0,40,20");
    Key(text, "clientrect", "2,2,38,18");
    Key(text, "fontheight", "12");
    Key(text, "downskinrect", "0,20,40,40");
  }
  return text;
}

void LoadBySections(benchmark::State& state) {
  const int sections = int(state.range(0));
  skin::SkinContainer container;
  container.Version = 0;
  container.Description = Description(sections);
  auto stored = core::CreateUnowned<skin::TskCompressedStoredSkin>();
  stored->SetCompressedData(core::ZCompressBytes(skin::WriteSkinContainer(container), core::clDefault));
  auto data = core::CreateUnowned<skin::TskSkinData>();
  for (auto _ : state) {
    data->LoadFromCompressedStoredSkin(*stored);
    benchmark::DoNotOptimize(data->SkinControls().data());
  }
  if (data->Empty() || int(data->SkinObjects().size() + data->SkinControls().size()) != sections) {
    state.SkipWithError("the generated skin did not load completely");
  }
  state.counters["per_section"] =
      benchmark::Counter(double(sections), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(LoadBySections)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
