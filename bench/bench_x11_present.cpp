// Presenting a window's pixels through the X11 backend: the whole 700 x 480
// surface and a 50 x 20 dirty rectangle of it, beside a plain XPutImage of
// the same area into the same window. Both end with XSync, so the server's
// work is counted; the plain call is the floor the backend can reach.
// Needs a display (run it inside scripts/desktop-session.sh); without one
// it says so and exits successfully.

#include "platform/x11/XlibHeaders.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/x11/X11Platform.h"

namespace {

using platform::x11::X11Platform;

constexpr int Width = 700;
constexpr int Height = 480;
const gfx::Rect Full{0, 0, Width, Height};
const gfx::Rect Small = gfx::Rect::FromSize(300, 200, 50, 20);

struct Scene {
  std::unique_ptr<X11Platform> Platform;
  platform::NativeWindow Window = platform::NoWindow;
  gfx::Bitmap Surface{Width, Height};
  XImage Image{};
};

// One window for every benchmark, shown (as a popup, so that no window
// manager placement is waited for) and exposed before the first run.
Scene& TheScene() {
  static std::unique_ptr<Scene> scene = [] {
    auto s = std::make_unique<Scene>();
    s->Platform = std::make_unique<X11Platform>();
    platform::WindowOptions options;
    options.Kind = platform::WindowKind::Popup;
    options.Bounds = gfx::Rect::FromSize(20, 20, Width, Height);
    s->Window = s->Platform->CreateWindow(options);
    s->Platform->ShowWindow(s->Window, platform::ShowMode::ShowNoActivate);
    platform::Event event;
    for (int i = 0; i < 200; ++i) {
      s->Platform->WaitForEvent(10);
      bool exposed = false;
      while (s->Platform->NextEvent(event)) exposed |= event.Kind == platform::EventKind::Expose;
      if (exposed) break;
    }
    for (int y = 0; y < Height; ++y) {
      for (int x = 0; x < Width; ++x) s->Surface.SetPixel(x, y, gfx::MakePixel(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
    }
    // The plain call's image: the same pixels, described as the server's
    // depth-24 ZPixmap layout.
    XImage& image = s->Image;
    image.width = Width;
    image.height = Height;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(s->Surface.Data());
    image.byte_order = LSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = DefaultDepth(s->Platform->XDisplay(), DefaultScreen(s->Platform->XDisplay()));
    image.bytes_per_line = int(s->Surface.Stride());
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0xFF00;
    image.blue_mask = 0xFF;
    XInitImage(&image);
    return s;
  }();
  return *scene;
}

void SetRate(benchmark::State& state, const gfx::Rect& area) {
  state.SetBytesProcessed(std::int64_t(state.iterations()) * area.Width() * area.Height() * 4);
}

void PresentThroughBackend(benchmark::State& state, const gfx::Rect& area) {
  Scene& scene = TheScene();
  Display* display = scene.Platform->XDisplay();
  for (auto _ : state) {
    scene.Platform->PresentWindow(scene.Window, scene.Surface, area);
    XSync(display, False);
  }
  SetRate(state, area);
}

void PlainPutImage(benchmark::State& state, const gfx::Rect& area) {
  Scene& scene = TheScene();
  Display* display = scene.Platform->XDisplay();
  const ::Window window = scene.Platform->XWindow(scene.Window);
  GC gc = DefaultGC(display, DefaultScreen(display));
  for (auto _ : state) {
    XPutImage(display, window, gc, &scene.Image, area.Left, area.Top, area.Left, area.Top,
              unsigned(area.Width()), unsigned(area.Height()));
    XSync(display, False);
  }
  SetRate(state, area);
}

void BM_PresentFull(benchmark::State& state) { PresentThroughBackend(state, Full); }
void BM_PlainPutImageFull(benchmark::State& state) { PlainPutImage(state, Full); }
void BM_PresentDirty50x20(benchmark::State& state) { PresentThroughBackend(state, Small); }
void BM_PlainPutImage50x20(benchmark::State& state) { PlainPutImage(state, Small); }

BENCHMARK(BM_PresentFull)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PlainPutImageFull)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PresentDirty50x20)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PlainPutImage50x20)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    std::printf("bench_x11_present: DISPLAY is not set; nothing measured (run it inside "
                "scripts/desktop-session.sh)\n");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
