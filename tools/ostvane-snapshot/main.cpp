// ostvane-snapshot: renders the program's main window as it looks at
// start-up (frame included, on a 1024 x 768 desktop) through the headless
// backend, without a network or a display. See Usage below.

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "app/Ostvane.h"
#include "app/Unit1.h"
#include "skin/data/SkinData.h"
#include "core/Component.h"
#include "gfx/PngCodec.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/WindowSystem.h"

namespace {

constexpr std::string_view Usage =
    "usage: ostvane-snapshot [--controls] [--skin FILE] [OUT.png]\n"
    "Draws the main window as it looks at start-up, frame included, and\n"
    "writes it to OUT.png, transparent outside the window's shape. Nothing\n"
    "is scanned and no display is needed.\n"
    "  --controls  print the window and then each control, one per line:\n"
    "              NAME LEFT TOP WIDTH HEIGHT, in pixels from the top-left\n"
    "              corner of the whole window (the frame's outer corner);\n"
    "              the first line is Form1 itself, the second (named\n"
    "              client) the window's client area\n"
    "  --skin FILE draw the window with the compressed skin file FILE\n"
    "              instead of the skin the program carries; a skin that\n"
    "              cannot be read leaves the default look, as in the\n"
    "              program, and is reported on standard error\n"
    "  -h, --help  print this help and exit with status 0\n"
    "At least one of --controls and OUT.png is needed. Exit status 1 for bad\n"
    "arguments or a file that cannot be written.\n";

int BadUsage(const std::string& why) {
  std::fprintf(stderr, "ostvane-snapshot: %s\n", why.c_str());
  std::fputs(Usage.data(), stderr);
  return 1;
}

// Where a control is, relative to the window's outer top-left corner.
gfx::Rect WindowRect(ui::TControl& control, gfx::Point windowOrigin) {
  const gfx::Rect bounds = control.BoundsRect();
  gfx::Point screen = bounds.TopLeft();
  if (ui::TWinControl* parent = control.Parent()) screen = parent->ClientToScreen(screen);
  return gfx::Rect::FromSize(screen.X - windowOrigin.X, screen.Y - windowOrigin.Y, bounds.Width(),
                             bounds.Height());
}

void PrintRect(const std::string& name, const gfx::Rect& r) {
  std::printf("%s %d %d %d %d\n", name.c_str(), r.Left, r.Top, r.Width(), r.Height());
}

}  // namespace

int main(int argc, char** argv) {
  bool controls = false;
  std::string output;
  std::string skinFile;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--controls") {
      controls = true;
    } else if (argument == "--skin") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return BadUsage("--skin needs a file");
      skinFile = argv[++i];
    } else if (argument == "-h" || argument == "--help") {
      std::fputs(Usage.data(), stdout);
      return 0;
    } else if (argument.starts_with("-") && argument.size() > 1) {
      return BadUsage("unknown option " + std::string(argument));
    } else if (!output.empty()) {
      return BadUsage("only one output file");
    } else if (argument.empty()) {
      return BadUsage("empty output file name");
    } else {
      output = argument;
    }
  }
  if (output.empty() && !controls) return BadUsage("nothing to do");

  try {
    // The same desktop as the project's virtual one: 1024 x 768, a 24 pixel
    // tray along the bottom.
    platform::headless::HeadlessOptions options;
    options.WorkArea = gfx::Rect{0, 0, 1024, 744};
    auto owned = std::make_unique<platform::headless::HeadlessPlatform>(options);
    platform::headless::HeadlessPlatform& desktop = *owned;
    ui::WindowSystem system(std::move(owned));
    auto application = core::CreateUnowned<ui::TApplication>();
    application->Initialize();
    application->SetTitle("Ostvane");
    // No resolver: nothing can be scanned from here.
    app::TForm1* form = app::CreateForm1(nullptr);
    if (!skinFile.empty()) {
      // Read first, so that a file that is not there is a bad argument;
      // what it holds is loaded the way the program loads its own skin.
      try {
        form->CompressedStoredSkin1->ReadCompressedFile(skinFile);
      } catch (const std::exception& error) {
        std::fprintf(stderr, "ostvane-snapshot: %s: %s\n", skinFile.c_str(), error.what());
        return 1;
      }
      // A skin change keeps the window's outer size; the program starts
      // with the layout's client size, whatever the frame.
      const int clientWidth = form->ClientWidth();
      const int clientHeight = form->ClientHeight();
      const bool loaded = form->UseStoredSkin();
      form->SetClientWidth(clientWidth);
      form->SetClientHeight(clientHeight);
      if (!loaded) {
        std::fprintf(stderr, "ostvane-snapshot: %s cannot be loaded; the window keeps the default look\n",
                     skinFile.c_str());
      }
    }
    form->Show();
    application->ProcessMessages();

    const platform::NativeWindow native = system.NativeWindowOf(form->Handle());
    const gfx::Rect window = desktop.Bounds(native);
    if (controls) {
      PrintRect("Form1", gfx::Rect::FromSize(0, 0, window.Width(), window.Height()));
      const gfx::Point client = form->ClientToScreen(gfx::Point{0, 0});
      PrintRect("client", gfx::Rect::FromSize(client.X - window.Left, client.Y - window.Top, form->ClientWidth(),
                                              form->ClientHeight()));
      for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<ui::TControl*>(form->Components(i));
        if (!control || control->Name().empty()) continue;
        PrintRect(control->Name(), WindowRect(*control, window.TopLeft()));
      }
      std::fflush(stdout);
    }
    if (!output.empty()) {
      // A rectangular window is its whole picture.
      const gfx::Region shape = desktop.Shape(native).value_or(gfx::Region(gfx::Rect::FromSize(0, 0, window.Width(), window.Height())));
      gfx::SavePngFile(output, desktop.Pixels(native), shape);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ostvane-snapshot: %s\n", error.what());
    return 1;
  }
  return 0;
}
