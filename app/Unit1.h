#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/ScanEngine.h"
#include "app/ScanHost.h"
#include "ui/classlib/Forms.h"

namespace platform {
class ArpResolver;
}
namespace ui {
template <class T>
class TPropertyList;
}  // namespace ui
namespace skin {
class TskCompressedStoredSkin;
class TskSkinButton;
class TskSkinCheckRadioBox;
class TskSkinData;
class TskSkinForm;
class TskSkinGroupBox;
class TskSkinMemo;
class TskSkinNumericEdit;
class TskSkinPageControl;
class TskSkinScrollBar;
class TskSkinStdLabel;
class TskSkinTabSheet;
}  // namespace skin
namespace tray {
class TTrayIcon;
}

namespace app {

// The program's only window: the scan tab with the log on the left and the
// scan inputs and buttons on the right, and the tray icon. Everything it
// shows comes from its stored layout, which the program carries inside
// itself (app/Resources.h); the constructor reads it.
//
// How a tool or test makes the window on a platform of its choice:
//
//   ui::WindowSystem system(platform::CreatePlatform("headless"));
//   auto application = core::CreateUnowned<ui::TApplication>();
//   application->SetTitle("Ostvane");
//   app::TForm1* form = app::CreateForm1();          // app/Ostvane.h
//   form->Show();
//   application->ProcessMessages();                  // painted, icon added
//
// Without a resolver no address answers and nothing is sent on the network,
// which is what a snapshot wants; the program passes the kernel's.
class TForm1 : public ui::TForm, public ScanHost {
 public:
  using inherited = ui::TForm;
  static void DefineProperties(ui::TPropertyList<TForm1>& list);

  // Reads the stored layout (controls, tray icon, wiring). Raises
  // core::EReadError when the layout cannot be read and
  // core::EComponentError when it lacks one of the controls below.
  explicit TForm1(core::TComponent* owner, platform::ArpResolver* resolver = nullptr);
  // The same from another layout of this window (a test's variant of the
  // built-in one).
  TForm1(core::TComponent* owner, platform::ArpResolver* resolver, std::string_view layout);
  ~TForm1() override;

  // ---- The controls, as the layout names them ----
  skin::TskSkinPageControl* NetScan = nullptr;
  skin::TskSkinTabSheet* Ostvane = nullptr;
  skin::TskSkinGroupBox* MacLog = nullptr;
  // Stands beside the log, which keeps it in step with its lines (the
  // memo's VScrollBar); scrolling it scrolls the log, which is disabled and
  // cannot scroll by itself.
  skin::TskSkinScrollBar* macbar = nullptr;
  // The scan log: only the program writes to it.
  skin::TskSkinMemo* MAC = nullptr;
  skin::TskSkinGroupBox* MacManger = nullptr;
  skin::TskSkinStdLabel* MACIPLabel = nullptr;
  skin::TskSkinStdLabel* MAClABELA = nullptr;
  skin::TskSkinStdLabel* MAClABELB = nullptr;
  skin::TskSkinStdLabel* MAClABELC = nullptr;
  skin::TskSkinStdLabel* skSkinStdLabel3 = nullptr;
  // The numeric edits: integers, three digits at most, held to their
  // ranges (1 or 0 to 255).
  skin::TskSkinNumericEdit* MACIPA = nullptr;
  skin::TskSkinNumericEdit* MACIPB = nullptr;
  skin::TskSkinNumericEdit* MACIPC = nullptr;
  skin::TskSkinNumericEdit* MACStarIP = nullptr;
  skin::TskSkinNumericEdit* MACEndIP = nullptr;
  // Ticked: addresses without an answer are left out of the log.
  skin::TskSkinCheckRadioBox* MacList = nullptr;
  skin::TskSkinButton* Star = nullptr;
  skin::TskSkinButton* MACStop = nullptr;
  skin::TskSkinButton* MacClear = nullptr;
  skin::TskSkinButton* MacSave = nullptr;
  // The components that draw the window from the skin it carries.
  skin::TskSkinData* skSkinData1 = nullptr;
  skin::TskSkinForm* SkinForm = nullptr;
  skin::TskCompressedStoredSkin* CompressedStoredSkin1 = nullptr;
  tray::TTrayIcon* TextTrayIcon = nullptr;

  // ---- Handlers the layout wires by name ----
  // The scan (ScanEngine::StarClick): raises core::EConvertError for a
  // host number that is no integer, which the message loop shows.
  void StarClick(core::TComponent* Sender);
  // Asks a running scan to stop after its next lookup.
  void MACStopClick(core::TComponent* Sender);
  // Empties the log.
  void MacClearClick(core::TComponent* Sender);
  // Writes the log to LogFileName(), replacing the file: every line
  // followed by CR LF, nothing else (see core::WriteFileReplacing). When
  // the file cannot be created or written, raises core::EFCreateError
  // "Cannot create file "<name>". <reason>" and the file saved before stays
  // as it was; the log is untouched either way.
  void MacSaveClick(core::TComponent* Sender);

  // Loads the skin of CompressedStoredSkin1 into skSkinData1, which
  // passes it to the frame and the controls. A skin that cannot be read
  // leaves the default look and answers false; nothing is shown.
  bool UseStoredSkin();

  // Resolves one dotted address: the hardware address as "00-1A-2B-..."
  // or empty when nothing answered.
  std::string GetMacByIp(std::string_view IP);

  // "mac.txt" in the directory of the program file.
  std::string LogFileName() const;
  ScanEngine& Engine() { return FEngine; }
  // The resolver the scan asks; nullptr: nothing answers.
  platform::ArpResolver* Resolver() const { return FResolver; }
  void SetResolver(platform::ArpResolver* resolver) { FResolver = resolver; }

  // ---- ScanHost ----
  std::string FirstOctetText() override;
  std::string SecondOctetText() override;
  std::string ThirdOctetText() override;
  std::string FirstHostText() override;
  std::string LastHostText() override;
  bool HideSilentHosts() override;
  void AppendLogLine(const std::string& line) override;
  void ProcessMessages() override;
  bool ShowBalloonMessage(const std::string& title, const std::string& text, tray::TBalloonKind kind,
                          std::uint8_t timeoutSeconds) override;
  std::optional<platform::MacAddress> ResolveAddress(std::uint32_t address) override;

 private:
  // Finds the layout's controls for the members above.
  void BindControls();

  ScanEngine FEngine{*this};
  platform::ArpResolver* FResolver = nullptr;
};

// Lets stored layouts create TForm1 and the classes its layout names beyond
// the class library's own (the tray icon). Safe to call more than once.
void RegisterUnit1Classes();

}  // namespace app
