// ostvane-widgets: a window with one of each standard control in the
// classic look (push buttons, check box, radio buttons, group box, labels,
// edits, memo, scroll bar, up-down, page control), on whatever platform
// backend is linked in (the X11 one on a desktop; OSTVANE_PLATFORM=headless
// picks the other).
//
//   ostvane-widgets [--seconds N]
//
// "Scan" (the default button, Enter) appends result lines to the log,
// "Clear" empties it, Escape presses "Stop". The address edits take digits
// only, three at most. --seconds closes the window by itself (for scripted
// screenshots).

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/PlatformFactory.h"
#include "tools/DemoOptions.h"
#include "ui/stdcontrols/ComCtrls.h"
#include "ui/classlib/ExtCtrls.h"
#include "ui/classlib/Forms.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/WindowSystem.h"

namespace {

using namespace ui;

template <class T>
T* Make(TCustomForm& form, TWinControl* parent, int left, int top, int width, int height) {
  T* control = core::Create<T>(form);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

TLabel* MakeLabel(TCustomForm& form, TWinControl* parent, int left, int top, const std::string& caption) {
  auto* label = Make<TLabel>(form, parent, left, top, 10, 10);
  label->SetCaption(caption);
  return label;
}

// An octet edit: digits only, three of them.
TEdit* MakeNumberEdit(TCustomForm& form, TWinControl* parent, int left, int top, const std::string& text) {
  auto* edit = Make<TEdit>(form, parent, left, top, 36, 21);
  edit->SetMaxLength(3);
  edit->SetText(text);
  edit->OnKeyPress = [](core::TComponent*, char32_t& key) {
    if (key >= 0x20 && (key < U'0' || key > U'9')) key = 0;
  };
  return edit;
}

class TWidgetsForm : public TForm {
 public:
  using inherited = TForm;

  explicit TWidgetsForm(core::TComponent* owner) : TForm(owner) {
    SetCaption("Ostvane widgets");
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 10, 10);
    SetClientSize(660, 450);
    BuildControls();
  }

 private:
  void BuildControls() {
    auto* pages = Make<TPageControl>(*this, this, 8, 8, 644, 434);
    auto* scanPage = core::Create<TTabSheet>(*this);
    scanPage->SetPageControl(pages);
    scanPage->SetCaption("扫描 Scan");
    auto* aboutPage = core::Create<TTabSheet>(*this);
    aboutPage->SetPageControl(pages);
    aboutPage->SetCaption("&About");
    auto* extraPage = core::Create<TTabSheet>(*this);
    extraPage->SetPageControl(pages);
    extraPage->SetCaption("Options");

    // The address group.
    auto* group = Make<TGroupBox>(*this, scanPage, 8, 6, 300, 118);
    group->SetCaption("MAC地址扫描 Address");
    MakeLabel(*this, group, 12, 27, "IP地址:");
    Octets[0] = MakeNumberEdit(*this, group, 64, 24, "192");
    MakeLabel(*this, group, 104, 27, "－");
    Octets[1] = MakeNumberEdit(*this, group, 118, 24, "168");
    MakeLabel(*this, group, 158, 27, "－");
    Octets[2] = MakeNumberEdit(*this, group, 172, 24, "1");
    MakeLabel(*this, group, 12, 57, "1..254");
    First = MakeNumberEdit(*this, group, 64, 54, "1");
    MakeLabel(*this, group, 104, 57, "－");
    Last = MakeNumberEdit(*this, group, 118, 54, "254");
    auto* step = Make<TUpDown>(*this, group, 156, 54, 16, 21);
    step->SetMin(1);
    step->SetMax(254);
    step->SetPosition(254);
    step->OnChange = [this](core::TComponent* sender) {
      Last->SetText(std::to_string(static_cast<TUpDown*>(sender)->Position()));
    };
    Silent = Make<TCheckBox>(*this, group, 12, 86, 270, 21);
    Silent->SetCaption("不显示无响应结果 &Hide silent hosts");
    Silent->SetChecked(true);

    // The buttons.
    auto* scan = Make<TButton>(*this, scanPage, 320, 12, 90, 25);
    scan->SetCaption("&Scan");
    scan->SetDefault(true);
    scan->OnClick = [this](core::TComponent*) { Scan(); };
    auto* stop = Make<TButton>(*this, scanPage, 320, 44, 90, 25);
    stop->SetCaption("S&top");
    stop->SetCancel(true);
    stop->OnClick = [this](core::TComponent*) { Status->SetCaption("Stopped."); };
    auto* clear = Make<TButton>(*this, scanPage, 320, 76, 90, 25);
    clear->SetCaption("&Clear");
    clear->OnClick = [this](core::TComponent*) {
      Log->Lines()->Clear();
      Status->SetCaption("Log cleared.");
    };
    auto* disabled = Make<TButton>(*this, scanPage, 320, 108, 90, 25);
    disabled->SetCaption("Disabled");
    disabled->SetEnabled(false);

    // Radio buttons and the scroll bar.
    auto* kind = Make<TGroupBox>(*this, scanPage, 420, 6, 200, 96);
    kind->SetCaption("Resolve");
    auto* arp = Make<TRadioButton>(*this, kind, 12, 22, 170, 19);
    arp->SetCaption("&ARP request");
    arp->SetChecked(true);
    auto* cache = Make<TRadioButton>(*this, kind, 12, 44, 170, 19);
    cache->SetCaption("Neighbour &cache only");
    auto* grayed = Make<TCheckBox>(*this, kind, 12, 66, 170, 19);
    grayed->SetCaption("Three states");
    grayed->SetAllowGrayed(true);
    grayed->SetState(cbGrayed);

    MakeLabel(*this, scanPage, 420, 112, "Delay (ms):");
    auto* delay = Make<TScrollBar>(*this, scanPage, 420, 130, 200, 17);
    delay->SetParams(50, 0, 500);
    delay->SetLargeChange(50);
    auto* delayValue = MakeLabel(*this, scanPage, 500, 112, "50");
    delay->OnChange = [delayValue](core::TComponent* sender) {
      delayValue->SetCaption(std::to_string(static_cast<TScrollBar*>(sender)->Position()));
    };

    // The log.
    Log = Make<TMemo>(*this, scanPage, 8, 134, 400, 230);
    Log->SetScrollBars(ssVertical);
    Log->SetFont(*Font());
    Log->Lines()->Add("Scan log 扫描日志");
    auto* readOnly = Make<TEdit>(*this, scanPage, 420, 160, 200, 21);
    readOnly->SetText("read-only text");
    readOnly->SetReadOnly(true);
    auto* off = Make<TEdit>(*this, scanPage, 420, 190, 200, 21);
    off->SetText("disabled edit");
    off->SetEnabled(false);
    auto* secret = Make<TEdit>(*this, scanPage, 420, 220, 200, 21);
    secret->SetText("secret");
    secret->SetPasswordChar(U'*');
    auto* grey = MakeLabel(*this, scanPage, 420, 250, "Disabled label");
    grey->SetEnabled(false);
    auto* wrapped = Make<TLabel>(*this, scanPage, 420, 272, 200, 60);
    wrapped->SetAutoSize(false);
    wrapped->SetWordWrap(true);
    wrapped->SetCaption("A label that wraps its words onto the next line, centred.");
    wrapped->SetAlignment(taCenter);
    Status = MakeLabel(*this, scanPage, 8, 372, "Ready.");

    // The other pages.
    auto* about = Make<TLabel>(*this, aboutPage, 16, 16, 400, 100);
    about->SetAutoSize(false);
    about->SetWordWrap(true);
    about->SetCaption("The standard controls of the Ostvane class library in their classic look. "
                      "Ctrl+Tab turns the pages.");
    auto* tabs = Make<TPageControl>(*this, extraPage, 16, 16, 230, 160);
    tabs->SetTabPosition(tpBottom);
    for (const char* caption : {"One", "Two", "Three", "Four", "Five", "Six", "Seven"}) {
      auto* page = core::Create<TTabSheet>(*this);
      page->SetPageControl(tabs);
      page->SetCaption(caption);
    }
    auto* side = Make<TPageControl>(*this, extraPage, 270, 16, 280, 160);
    side->SetTabPosition(tpLeft);
    for (const char* caption : {"Left", "Tabs"}) {
      auto* page = core::Create<TTabSheet>(*this);
      page->SetPageControl(side);
      page->SetCaption(caption);
    }
    auto* multi = Make<TPageControl>(*this, extraPage, 16, 200, 400, 160);
    multi->SetMultiLine(true);
    multi->SetTabPosition(tpTop);
    for (const char* caption : {"General", "Network", "Addresses", "Timing", "Output", "Log file", "Tray", "Skin", "About"}) {
      auto* page = core::Create<TTabSheet>(*this);
      page->SetPageControl(multi);
      page->SetCaption(caption);
    }
    pages->SetActivePage(scanPage);
  }

  void Scan() {
    std::string network = Octets[0]->Text() + "." + Octets[1]->Text() + "." + Octets[2]->Text() + ".";
    int first = std::atoi(First->Text().c_str());
    int last = std::atoi(Last->Text().c_str());
    if (first < 1 || last > 254 || first > last) {
      Status->SetCaption("The host range is reversed or out of 1..254.");
      return;
    }
    // A pretend scan: every seventh host answers.
    for (int host = first; host <= last; ++host) {
      bool answers = host % 7 == 0;
      if (!answers && Silent->Checked()) continue;
      char mac[32];
      std::snprintf(mac, sizeof mac, answers ? "00-1A-2B-3C-4D-%02X" : "00-00-00-00-00-00", host);
      Log->Lines()->Add(network + std::to_string(host) + ":" + mac);
    }
    Status->SetCaption("Scanned " + std::to_string(last - first + 1) + " hosts.");
  }

  TEdit* Octets[3] = {};
  TEdit* First = nullptr;
  TEdit* Last = nullptr;
  TCheckBox* Silent = nullptr;
  TMemo* Log = nullptr;
  TLabel* Status = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  const std::optional<int> parsed = tools::ParseSecondsOption(argc, argv);
  if (!parsed) return 2;
  const int seconds = *parsed;
  std::unique_ptr<platform::Platform> backend = platform::CreatePlatformOrReport("ostvane-widgets");
  if (!backend) return 1;
  WindowSystem system(std::move(backend));
  auto application = core::CreateUnowned<TApplication>();
  application->SetTitle("Ostvane widgets");
  TWidgetsForm* form = application->CreateForm<TWidgetsForm>();
  TTimer* quit = nullptr;
  if (seconds > 0) {
    quit = core::Create<TTimer>(*form);
    quit->SetInterval(unsigned(seconds) * 1000);
    quit->SetOnTimer([form](core::TComponent*) { form->Close(); });
  }
  application->Run();
  return 0;
}
