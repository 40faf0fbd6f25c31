#include "app/Unit1.h"

#include <string>

#include "app/Resources.h"
#include "core/Exception.h"
#include "core/FileReplace.h"
#include "core/Format.h"
#include "core/PathUtils.h"
#include "platform/ArpResolver.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "tray/TrayIcon.h"
#include "ui/classlib/Properties.h"
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

TForm1::TForm1(core::TComponent* owner, platform::ArpResolver* resolver)
    : TForm1(owner, resolver, StoredMainFormLayout()) {}

TForm1::TForm1(core::TComponent* owner, platform::ArpResolver* resolver, std::string_view layout)
    : TForm(owner), FResolver(resolver) {
  RegisterUnit1Classes();
  LoadLayout(layout);
  BindControls();
}

TForm1::~TForm1() = default;

void TForm1::BindControls() {
  NetScan = FindControl<skin::TskSkinPageControl>(*this, "NetScan");
  Ostvane = FindControl<skin::TskSkinTabSheet>(*this, "Ostvane");
  MacLog = FindControl<skin::TskSkinGroupBox>(*this, "MacLog");
  macbar = FindControl<skin::TskSkinScrollBar>(*this, "macbar");
  MAC = FindControl<skin::TskSkinMemo>(*this, "MAC");
  MacManger = FindControl<skin::TskSkinGroupBox>(*this, "MacManger");
  MACIPLabel = FindControl<skin::TskSkinStdLabel>(*this, "MACIPLabel");
  MAClABELA = FindControl<skin::TskSkinStdLabel>(*this, "MAClABELA");
  MAClABELB = FindControl<skin::TskSkinStdLabel>(*this, "MAClABELB");
  MAClABELC = FindControl<skin::TskSkinStdLabel>(*this, "MAClABELC");
  skSkinStdLabel3 = FindControl<skin::TskSkinStdLabel>(*this, "skSkinStdLabel3");
  MACIPA = FindControl<skin::TskSkinNumericEdit>(*this, "MACIPA");
  MACIPB = FindControl<skin::TskSkinNumericEdit>(*this, "MACIPB");
  MACIPC = FindControl<skin::TskSkinNumericEdit>(*this, "MACIPC");
  MACStarIP = FindControl<skin::TskSkinNumericEdit>(*this, "MACStarIP");
  MACEndIP = FindControl<skin::TskSkinNumericEdit>(*this, "MACEndIP");
  MacList = FindControl<skin::TskSkinCheckRadioBox>(*this, "MacList");
  Star = FindControl<skin::TskSkinButton>(*this, "Star");
  MACStop = FindControl<skin::TskSkinButton>(*this, "MACStop");
  MacClear = FindControl<skin::TskSkinButton>(*this, "MacClear");
  MacSave = FindControl<skin::TskSkinButton>(*this, "MacSave");
  skSkinData1 = FindControl<skin::TskSkinData>(*this, "skSkinData1");
  SkinForm = FindControl<skin::TskSkinForm>(*this, "SkinForm");
  CompressedStoredSkin1 = FindControl<skin::TskCompressedStoredSkin>(*this, "CompressedStoredSkin1");
  TextTrayIcon = FindControl<tray::TTrayIcon>(*this, "TextTrayIcon");
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

bool TForm1::UseStoredSkin() {
  try {
    skSkinData1->SetCompressedStoredSkin(CompressedStoredSkin1);
  } catch (const core::Exception&) {
  }
  return !skSkinData1->Empty();
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
