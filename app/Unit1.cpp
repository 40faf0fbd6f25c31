#include "app/Unit1.h"

#include <algorithm>
#include <string>

#include "app/Resources.h"
#include "core/Exception.h"
#include "core/FileReplace.h"
#include "core/Format.h"
#include "core/PathUtils.h"
#include "platform/ArpResolver.h"
#include "tray/TrayIcon.h"
#include "ui/stdcontrols/ComCtrls.h"
#include "ui/classlib/Properties.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/WindowSystem.h"

namespace app {

namespace {

constexpr const char* LogFileBaseName = "mac.txt";

template <class T>
T* FindControl(core::TComponent& form, const char* name) {
  T* found = dynamic_cast<T*>(form.FindComponent(name));
  if (!found) throw core::EComponentError(core::Format("The stored layout has no %s", name));
  return found;
}

// The numeric edits take digits only. Control characters (Backspace, the
// clipboard keys) pass, so editing works as usual.
void AcceptDigitsOnly(core::TComponent*, char32_t& key) {
  if (key >= 0x20 && (key < U'0' || key > U'9')) key = 0;
}

// Pasted text bypasses the key filter: what is not a digit goes again.
void DropNonDigits(ui::TEdit& edit) {
  const std::string text = edit.Text();
  std::string digits;
  std::copy_if(text.begin(), text.end(), std::back_inserter(digits), [](char c) { return c >= '0' && c <= '9'; });
  if (digits != text) edit.SetText(digits);
}

}  // namespace

void TForm1::DefineProperties(ui::TPropertyList<TForm1>& list) {
  list.Method("StarClick", &TForm1::StarClick);
  list.Method("MACStopClick", &TForm1::MACStopClick);
  list.Method("MacClearClick", &TForm1::MacClearClick);
  list.Method("MacSaveClick", &TForm1::MacSaveClick);
}

void RegisterUnit1Classes() {
  // The class library's own classes register themselves before any look-up.
  tray::RegisterTrayClasses();
  ui::RegisterComponentClass<TForm1>("TForm1");
}

TForm1::TForm1(core::TComponent* owner, platform::ArpResolver* resolver) : TForm(owner), FResolver(resolver) {
  RegisterUnit1Classes();
  LoadLayout(StoredMainFormLayout());
  BindControls();
}

TForm1::~TForm1() = default;

void TForm1::BindControls() {
  NetScan = FindControl<ui::TPageControl>(*this, "NetScan");
  Ostvane = FindControl<ui::TTabSheet>(*this, "Ostvane");
  MacLog = FindControl<ui::TGroupBox>(*this, "MacLog");
  macbar = FindControl<ui::TScrollBar>(*this, "macbar");
  MAC = FindControl<ui::TMemo>(*this, "MAC");
  MacManger = FindControl<ui::TGroupBox>(*this, "MacManger");
  MACIPLabel = FindControl<ui::TLabel>(*this, "MACIPLabel");
  MAClABELA = FindControl<ui::TLabel>(*this, "MAClABELA");
  MAClABELB = FindControl<ui::TLabel>(*this, "MAClABELB");
  MAClABELC = FindControl<ui::TLabel>(*this, "MAClABELC");
  skSkinStdLabel3 = FindControl<ui::TLabel>(*this, "skSkinStdLabel3");
  MACIPA = FindControl<ui::TEdit>(*this, "MACIPA");
  MACIPB = FindControl<ui::TEdit>(*this, "MACIPB");
  MACIPC = FindControl<ui::TEdit>(*this, "MACIPC");
  MACStarIP = FindControl<ui::TEdit>(*this, "MACStarIP");
  MACEndIP = FindControl<ui::TEdit>(*this, "MACEndIP");
  MacList = FindControl<ui::TCheckBox>(*this, "MacList");
  Star = FindControl<ui::TButton>(*this, "Star");
  MACStop = FindControl<ui::TButton>(*this, "MACStop");
  MacClear = FindControl<ui::TButton>(*this, "MacClear");
  MacSave = FindControl<ui::TButton>(*this, "MacSave");
  TextTrayIcon = FindControl<tray::TTrayIcon>(*this, "TextTrayIcon");

  // The filters are the edits' behaviour, not events of the design, so
  // they are set here and never written to a layout.
  for (ui::TEdit* edit : {MACIPA, MACIPB, MACIPC, MACStarIP, MACEndIP}) {
    edit->OnKeyPress = &AcceptDigitsOnly;
    edit->OnChange = [edit](core::TComponent*) { DropNonDigits(*edit); };
  }

  // The log is disabled, so only the bar beside it can scroll it; the bar
  // follows the log's rows whenever lines come or go or its size changes.
  MAC->OnChange = [this](core::TComponent*) { SyncLogBar(); };
  MAC->OnResize = [this](core::TComponent*) { SyncLogBar(); };
  macbar->OnChange = [this](core::TComponent*) {
    if (!FSyncingLogBar) MAC->ScrollToRow(macbar->Position());
  };
  SyncLogBar();
}

void TForm1::SyncLogBar() {
  if (FSyncingLogBar) return;
  FSyncingLogBar = true;
  const int rows = MAC->RowCount();
  const int visible = MAC->VisibleRowCount();
  const bool scrollable = rows > visible;
  const int top = MAC->FirstVisibleRow();
  macbar->SetParams(top, 0, std::max(0, rows - 1));
  macbar->SetPageSize(scrollable ? visible : 0);
  macbar->SetLargeChange(std::max(1, visible));
  macbar->SetPosition(top);
  macbar->SetEnabled(scrollable);
  FSyncingLogBar = false;
}

// ---- Handlers -------------------------------------------------------------

void TForm1::StarClick(core::TComponent* Sender) { FEngine.StarClick(Sender); }

void TForm1::MACStopClick(core::TComponent* Sender) { FEngine.MACStopClick(Sender); }

void TForm1::MacClearClick(core::TComponent*) { MAC->Lines()->Clear(); }

std::string TForm1::LogFileName() const {
  ui::WindowSystem* system = ui::WindowSystem::Current();
  const std::string program = system ? system->Platform().ProgramFilePath() : std::string();
  return core::ExtractFilePath(program) + LogFileBaseName;
}

void TForm1::MacSaveClick(core::TComponent*) {
  // The whole text is made first, so that the file is written in one go.
  std::string text;
  const core::TStrings& lines = *MAC->Lines();
  for (int i = 0; i < lines.Count(); ++i) {
    text += lines.Get(i);
    text += "\r\n";
  }
  // Written beside the old file and renamed over it once complete, so a
  // full disk or a quota leaves the log saved last time as it was.
  core::WriteFileReplacing(LogFileName(), text);
}

std::string TForm1::GetMacByIp(std::string_view IP) { return FEngine.GetMacByIp(IP); }

// ---- ScanHost ---------------------------------------------------------------

std::string TForm1::FirstOctetText() { return MACIPA->Text(); }
std::string TForm1::SecondOctetText() { return MACIPB->Text(); }
std::string TForm1::ThirdOctetText() { return MACIPC->Text(); }
std::string TForm1::FirstHostText() { return MACStarIP->Text(); }
std::string TForm1::LastHostText() { return MACEndIP->Text(); }
bool TForm1::HideSilentHosts() { return MacList->Checked(); }

void TForm1::AppendLogLine(const std::string& line) { MAC->Lines()->Add(line); }

void TForm1::ProcessMessages() {
  if (ui::Application) ui::Application->ProcessMessages();
}

bool TForm1::ShowBalloonMessage(const std::string& title, const std::string& text, tray::TBalloonKind kind,
                                std::uint8_t timeoutSeconds) {
  return TextTrayIcon->ShowBalloonMessage(title, text, kind, timeoutSeconds);
}

std::optional<platform::MacAddress> TForm1::ResolveAddress(std::uint32_t address) {
  if (!FResolver) return std::nullopt;
  return FResolver->Resolve(address);
}

}  // namespace app
