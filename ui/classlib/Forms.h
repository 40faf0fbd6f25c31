#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Component.h"
#include "core/Set.h"
#include "gfx/Geometry.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/Graphics.h"

// Forms, the screen and the application.
//
// A program:
//   ui::WindowSystem system(platform::CreatePlatform());
//   auto application = core::CreateUnowned<ui::TApplication>();
//   ui::Application->SetTitle("Ostvane");
//   ui::Application->CreateForm<TForm1>();   // the first form is the main form
//   ui::Application->Run();                   // until the main form closes
namespace ui {

class TMenu;
template <class T>
class TPropertyList;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The border of a control: bsNone or bsSingle.
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = core::TSet<TBorderIcon>;
// Where a form appears when it is first shown. poScreenCenter and
// poDesktopCenter centre it on the work area of the primary monitor,
// poMainFormCenter and poOwnerFormCenter on that form (on the work area
// when there is none); the default positions are the designed ones here.
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter,
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
// What closing a form does: nothing, hide it, free it (after the message
// that asked), or minimise it.
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = core::TSet<TFormStateItem>;

// The answer of a modal form or message box.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = TMethod<void(core::TComponent* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TMethod<void(core::TComponent* Sender, bool& CanClose)>;
// Msg: the key message (WParam: the virtual key); Handled true takes it.
using TShortCutEvent = TMethod<void(TMessage& Msg, bool& Handled)>;

// ---- TCustomForm --------------------------------------------------------

// A top-level window with a frame, a caption and the keyboard navigation
// between its controls. Forms are made hidden; Show or ShowModal shows
// them. The application's forms are listed by the screen in creation order.
class TCustomForm : public TWinControl {
 public:
  using inherited = TWinControl;
  static void DefineProperties(TPropertyList<TCustomForm>& list);

  explicit TCustomForm(core::TComponent* owner);
  ~TCustomForm() override;

  // ---- Look ----
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position) { FPosition = position; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle style);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  // The icon of the window (empty: the application's icon).
  TIcon* Icon() { return &FIcon; }
  void SetIcon(const TIcon& icon) { FIcon.Assign(icon); }
  TCanvas* Canvas() { return FCanvas.get(); }

  // Stored layout values that have no effect here beyond being kept.
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool autoScroll) { FAutoScroll = autoScroll; }
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int value) { FTextHeight = value; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }

  // ---- Keyboard ----
  // The control that has (or gets, when the form is activated) the focus.
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
  // for a control that cannot take it (except while loading).
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // The form's own key events run before the focused control's.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool keyPreview) { FKeyPreview = keyPreview; }
  // OnShortCut, then the shortcuts of the form's menus; true when taken.
  virtual bool IsShortCut(TMessage& message);

  // ---- Showing and closing ----
  void Show();
  void Hide() { SetVisible(false); }
  // Shows the form, disables the other forms and handles messages until
  // ModalResult is set (a button with a ModalResult, Close, or the
  // application ending, which answers mrCancel); hides it and returns the
  // result. Raises EInvalidOperation "Cannot make a visible window modal"
  // for a form already shown.
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult result) { FModalResult = result; }
  // Asks OnCloseQuery, then does what OnClose's action says (the main
  // form ends the application); a modal form answers mrCancel instead.
  void Close();
  // True when closing may go ahead: OnCloseQuery, then every child form.
  virtual bool CloseQuery();
  // Frees the form once the messages before CM_RELEASE are handled (safe
  // from the form's own event handlers).
  void Release();
  bool Active() const { return FActive; }
  TFormState FormState() const { return FFormState; }

  // ---- Focus bookkeeping, called by controls ----
  // Focuses control now when the form is active, else at activation.
  void FocusControl(TWinControl* control);
  // control (or one of its children) loses the focus: it goes to the form.
  // removing: the control is going away, forget it.
  void DefocusControl(TWinControl* control, bool removing);
  // A control of the form got the keyboard focus: OnExit and OnEnter run,
  // CM_FOCUSCHANGED goes to every control. False when a handler moved the
  // focus elsewhere meanwhile.
  bool SetFocusedControl(TWinControl* control);
  TWinControl* FocusedControl() const { return FFocusedControl; }

  // ---- Events ----
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

  bool Showing() const override;
  gfx::Rect ClientRect() const override;
  void SetClientSize(int width, int height) override;
  void Dispatch(TMessage& message) override;
  void Loaded() override;
  void SetParent(TWinControl* parent) override;

  // Reads a stored layout into this form (its properties and components),
  // then runs OnCreate. The derived form's constructor calls it.
  void LoadLayout(std::string_view text);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void PaintWindow(HDC context) override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

  virtual void DoCreate();
  // Runs OnDestroy once, before the form's components go.
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();

  void WMClose(TMessage& message);
  void WMActivate(TMessage& message);
  void WMSysCommand(TMessage& message);
  void WMSetFocus(TMessage& message);
  void CMDialogKey(TMessage& message);
  void CMShowingChanged(TMessage& message);
  void CMRelease(TMessage& message);
  void CMIconChanged(TMessage& message);

 private:
  friend class TApplication;
  friend class TPropertyList<TCustomForm>;
  void ApplyPosition();
  gfx::Rect ComputedClientRect() const;
  void SetWindowFocus();
  void CloseModal();
  // Told first when the form is destroyed (while it and its components
  // are still whole), so that OnDestroy can run then.
  core::TComponentPtr<core::TComponent> FDestroyNotice;
  bool FDestroyNotified = false;

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  TIcon FIcon;
  std::unique_ptr<TControlCanvas> FCanvas;
  bool FAutoScroll = true;
  int FPixelsPerInch = 96;
  int FTextHeight = 13;
  bool FOldCreateOrder = false;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  bool FKeyPreview = false;
  TModalResult FModalResult = mrNone;
  bool FActive = false;
  TFormState FFormState;
  bool FPositioned = false;
  int FPendingClientWidth = -1;
  int FPendingClientHeight = -1;
};

class TForm : public TCustomForm {
 public:
  using inherited = TCustomForm;
  using TCustomForm::TCustomForm;
};

// ---- TScreen -----------------------------------------------------------

// One monitor of the desktop.
struct TMonitor {
  int MonitorNum = 0;
  gfx::Rect BoundsRect;
  gfx::Rect WorkareaRect;
  bool Primary = false;
  int Left() const { return BoundsRect.Left; }
  int Top() const { return BoundsRect.Top; }
  int Width() const { return BoundsRect.Width(); }
  int Height() const { return BoundsRect.Height(); }
};

// The desktop as the program sees it: its forms, the active form and
// control, the monitors and a cursor that overrides every control's.
class TScreen : public core::TComponent {
 public:
  explicit TScreen(core::TComponent* owner);
  ~TScreen() override;

  // The forms in creation order.
  int FormCount() const { return int(FForms.size()); }
  TCustomForm* Forms(int index) const;
  bool HasForm(const TCustomForm* form) const;
  // The forms a message about owner reaches: owner first when it is a form
  // (or the form owner sits on), then every other form in creation order.
  // The skin layer's broadcast walks this list.
  std::vector<TCustomForm*> FormsOwnerFirst(const core::TComponent* owner) const;

  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }

  // The primary monitor's size and work area, the whole desktop.
  int Width() const;
  int Height() const;
  gfx::Rect WorkAreaRect() const;
  gfx::Rect DesktopRect() const;
  int MonitorCount() const;
  TMonitor Monitors(int index) const;

  // crDefault lets each control choose its pointer.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  friend class TWinControl;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form);
  void SetActiveControl(TWinControl* control);

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
};

// ---- TApplication ------------------------------------------------------

using TMessageEvent = TMethod<void(TMsg& Msg, bool& Handled)>;
// E: the exception that left an event handler.
using TExceptionEvent = TMethod<void(core::TComponent* Sender, const std::exception& E)>;

// The program: its title, main form and message loop, a hidden window of
// its own (which the tray icon hooks), and the error box for exceptions
// that leave event handlers. One exists at a time (Application); it owns
// the forms made with CreateForm and the screen.
class TApplication : public core::TComponent {
 public:
  explicit TApplication(core::TComponent* owner);
  ~TApplication() override;

  void Initialize() {}
  // The task-bar text and the caption of the application's message boxes.
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title);
  TIcon* Icon() { return &FIcon; }
  std::string ExeName() const;

  // Makes a form owned by the application; the first becomes MainForm.
  template <class T, class... Args>
  T* CreateForm(Args&&... args) {
    T* form = core::Create<T>(*this, std::forward<Args>(args)...);
    if (!FMainForm) FMainForm = form;
    return form;
  }
  TCustomForm* MainForm() const { return FMainForm; }
  // Whether Run shows the main form (the tray icon turns it off).
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool show) { FShowMainForm = show; }

  // Shows the main form and handles messages until Terminate (closing the
  // main form terminates).
  void Run();
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Handles one message, waiting for it when none is there.
  void HandleMessage();
  // Ends Run after the messages already waiting.
  void Terminate();
  bool Terminated() const { return FTerminated; }

  void Minimize();
  void Restore();
  bool Active() const { return FActive; }

  // The hidden application window; hooks see its messages first.
  HWND Handle();
  // A hook returns true when it handled the message (Result set); the
  // returned id removes it.
  using TWindowHook = std::function<bool(TMessage& message)>;
  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int id);

  // Called inside a catch block: OnException when assigned, else the
  // standard error box (ShowException). The message loop goes on.
  void HandleException(core::TComponent* sender);
  // The error box: the exception's message, the title as caption, OK.
  void ShowException(const std::exception& error);
  // A message box with the application's title when caption is empty.
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TNotifyEvent OnIdle;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  friend class TCustomForm;
  bool ProcessMessage(TMsg& message);
  void Idle();
  void WndProc(TMessage& message);
  void SetActive(bool active);

  std::string FTitle;
  TIcon FIcon;
  TCustomForm* FMainForm = nullptr;
  bool FShowMainForm = true;
  bool FTerminated = false;
  bool FActive = false;
  bool FHandlingException = false;
  HWND FHandle = nullptr;
  struct Hook {
    int Id;
    TWindowHook Function;
  };
  std::vector<Hook> FHooks;
  int FNextHookId = 1;
  core::TComponentPtr<TScreen> FScreen;
};

// The application and the screen of the running program (nullptr before
// a TApplication is made and after it is gone).
extern TApplication* Application;
extern TScreen* Screen;

}  // namespace ui
