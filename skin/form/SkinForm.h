#pragma once

// The skinned window frame: a component dropped on a form that takes the
// form's frame over (border, caption, caption buttons, outline) and draws
// it from the skin's main picture, and the caption objects it routes the
// mouse to.
//
// The frame hooks the form's WindowProc, so it sees every message first:
//
//   message -> CloseMenusOnMessage -> FirstDispatch --consumed--> done
//                                          | not consumed
//                                          v
//                                    OldWindowProc -> SecondDispatch (mouse)
//
// It computes the non-client area (WM_NCCALCSIZE), paints it (WM_NCPAINT),
// shapes the window from the skin's mask and answers WM_NCHITTEST so that
// the window system moves the window only by caption objects, sizes it by
// the borders and leaves every other frame pixel (HTOBJECT) to the objects.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Set.h"
#include "gfx/Bitmap.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinTypes.h"
#include "skin/data/SkinUtils.Readers.h"
#include "skin/form/SkinMenus.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/ExtCtrls.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/WindowTypes.h"

namespace gfx {
class Canvas;
}
namespace ui {
class TTimer;
}

namespace skin {

class TskSkinForm;

enum TskBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TskBorderIcons = core::TSet<TskBorderIcon>;

// The window state as the frame manages it: a maximised skinned window is
// a normal window of work-area size for the window system.
enum TskWindowState { wsNormal, wsMinimized, wsMaximized };

// Whether an object draws its normal look too (a frame strip already
// shows it) or only what differs from the frame picture.
enum class DrawAll { No, Yes };

// A hit code of the frame: everything on the frame that is neither caption
// nor border, so the window system leaves it to the objects.
constexpr ui::LRESULT HTOBJECT = 19;

// ---------------------------------------------------------------------------
// Menus the frame builds (system menu, tray menu). The skinned popup menus
// replace how they are shown, not what they hold.

struct TskFrameMenuItem {
  std::string Name;
  // "-" for a separator.
  std::string Caption;
  std::string ShortCut;
  std::function<void()> OnClick;
};
using TskFrameMenu = std::vector<TskFrameMenuItem>;

// ---------------------------------------------------------------------------
// Tray icon and hint components the frame can be given. This program gives
// it neither; the frame needs only what is declared here.

class TskTrayIcon : public core::TComponent {
 public:
  explicit TskTrayIcon(core::TComponent* owner) : TComponent(owner) {}

  // Set by the frame before it minimises the application to the tray.
  bool MinimizeToTray = false;
  bool IconVisible() const { return FIconVisible; }
  void SetIconVisible(bool value) { FIconVisible = value; }
  // The menu the icon offers; the frame fills it when it is empty.
  TskFrameMenu PopupMenu;
  ui::TNotifyEvent OnDblClick;
  // Restores the application window and makes the main form visible and
  // normal again.
  virtual void ShowMainForm();

 private:
  bool FIconVisible = false;
};

class TskSkinHint : public core::TComponent {
 public:
  explicit TskSkinHint(core::TComponent* owner) : TComponent(owner) {}
  virtual void ActivateHint(gfx::Point screen, const std::string& text) = 0;
  virtual void HideHint() = 0;
};

// ---------------------------------------------------------------------------
// Skin objects: one per [SKINOBJECTS] entry that has a frame object, owned
// by the frame's ObjectList, living from one skin load to the next.

class TskActiveSkinObject {
 public:
  TskActiveSkinObject(TskSkinForm& parent, const TskDataSkinObject* data);
  virtual ~TskActiveSkinObject() = default;
  TskActiveSkinObject(const TskActiveSkinObject&) = delete;
  TskActiveSkinObject& operator=(const TskActiveSkinObject&) = delete;

  // Draws the object at ObjectRect of canvas from the object's state.
  virtual void Draw(gfx::Canvas& canvas, DrawAll drawAll);
  virtual void DblClick() {}
  virtual void MouseDown(int x, int y, ui::TMouseButton button);
  virtual void MouseUp(int x, int y, ui::TMouseButton button);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // The morph has not reached the end the current look asks for.
  virtual bool NeedsMorphStep() const;

  // Skins draw the object in an animation between its looks.
  bool MorphApplies() const;
  // Redraws now, or starts the morph when it animates.
  void Changed();

  double MorphKf = 0;
  bool MouseIn = false;
  const gfx::Bitmap* Picture = nullptr;
  // nullptr when the object has no active picture; its active look then
  // counts as absent.
  const gfx::Bitmap* ActivePicture = nullptr;
  TskSkinData* SD = nullptr;
  std::string IDName;
  std::string Hint;
  TRect SkinRect;
  TRect ActiveSkinRect;
  TRect InActiveSkinRect;
  bool Morphing = false;
  TskMorphKind MorphKind = TskMorphKind::mkDefault;
  TRect ObjectRect;
  bool Active = false;
  bool Enabled = true;
  int CursorIndex = -1;
  bool RollUp = false;
  bool Visible = true;
  bool SkinRectInAPicture = false;

 protected:
  // The normal look's picture: Picture, or ActivePicture when the skin
  // says the normal look is there.
  const gfx::Bitmap* NormalPicture() const;
  // Draws the blend of two looks by MorphKind and MorphKf at ObjectRect.
  void DrawMorph(gfx::Canvas& canvas, const gfx::Bitmap& normal, const TRect& normalRect,
                 const gfx::Bitmap& active, const TRect& activeRect) const;
  // Draws sourceRect of source at ObjectRect (nothing for no source).
  void CopyLook(gfx::Canvas& canvas, const gfx::Bitmap* source, const TRect& sourceRect) const;

  TskSkinForm& FParent;
};

// Fires the paint event so the program draws the object itself.
class TskUserObject : public TskActiveSkinObject {
 public:
  using TskActiveSkinObject::TskActiveSkinObject;
  void Draw(gfx::Canvas& canvas, DrawAll drawAll) override;
};

class TskSkinButtonObject : public TskActiveSkinObject {
 public:
  TskSkinButtonObject(TskSkinForm& parent, const TskDataSkinButton* data);

  void Draw(gfx::Canvas& canvas, DrawAll drawAll) override;
  void MouseDown(int x, int y, ui::TMouseButton button) override;
  void MouseUp(int x, int y, ui::TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetDown(bool value);

  bool Down = false;
  bool PopupUp = false;
  TRect DownRect;
  TRect DisableSkinRect;
  int GroupIndex = -1;
  // A menu shown under the button; empty for none.
  TskFrameMenu MenuItem;

 protected:
  void ShowMenu();
};

class TskSkinStdButtonObject : public TskSkinButtonObject {
 public:
  TskSkinStdButtonObject(TskSkinForm& parent, const TskDataSkinStdButton* data);
  // A plain button of the frame without a skin.
  TskSkinStdButtonObject(TskSkinForm& parent, TskStdCommand command);

  void Draw(gfx::Canvas& canvas, DrawAll drawAll) override;
  void MouseDown(int x, int y, ui::TMouseButton button) override;
  void MouseUp(int x, int y, ui::TMouseButton button) override;
  void DblClick() override;
  bool NeedsMorphStep() const override;

  bool SkinSupport = false;
  TskStdCommand Command = TskStdCommand::cmDefault;
  TRect RestoreRect;
  TRect RestoreActiveRect;
  TRect RestoreDownRect;
  TRect RestoreInActiveRect;

 private:
  // The command would undo the window's state (maximise of a maximised
  // window ...): the button shows its restore look.
  bool InAlternativeState() const;
  bool ShowsIcon() const;
  void DoCommand();
  void DrawPlain(gfx::Canvas& canvas);
};

class TskSkinCaptionObject : public TskActiveSkinObject {
 public:
  TskSkinCaptionObject(TskSkinForm& parent, const TskDataSkinCaption* data);

  void Draw(gfx::Canvas& canvas, DrawAll drawAll) override;
  void MouseDown(int x, int y, ui::TMouseButton button) override;
  void MouseUp(int x, int y, ui::TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetCaptionText(const std::string& text);

  std::string CaptionText;
  std::string FontName;
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  bool Shadow = false;
  gfx::Color ShadowColor = 0;
  gfx::Color ActiveShadowColor = 0;
  bool Light = false;
  gfx::Color LightColor = 0;
  gfx::Color ActiveLightColor = 0;
  TAlignment Alignment = TAlignment::taCenter;
  TRect TextRect;
  bool DefaultCaption = false;
  TRect FrameRect;
  TRect ActiveFrameRect;
  int FrameLeftOffset = 0;
  int FrameRightOffset = 0;
  TRect FrameTextRect;

 private:
  TRect CurrentTextRect() const;
  void DrawText(gfx::Canvas& canvas, const TRect& textRect, bool active) const;
  gfx::Bitmap BuildLook(const gfx::Bitmap& source, const TRect& sourceRect, bool active) const;
};

// ---------------------------------------------------------------------------

// Events of the frame's objects; each receives the object's section name.
using TskObjectEvent = ui::TMethod<void(const std::string& IDName)>;
using TskObjectMouseEvent =
    ui::TMethod<void(const std::string& IDName, int X, int Y, ui::TMouseButton Button, const TRect& ObjectRect)>;
using TskObjectMoveEvent = ui::TMethod<void(const std::string& IDName, int X, int Y, const TRect& ObjectRect)>;
using TskObjectPaintEvent = ui::TMethod<void(const std::string& IDName, gfx::Canvas& Canvas, const TRect& ObjectRect)>;
using TskActivateObjectEvent = ui::TMethod<void(const std::string& IDName, bool& Active)>;
using TskClientRectEvent = ui::TMethod<void(const TRect& ClientRect)>;

class TskSkinForm : public core::TComponent {
 public:
  using inherited = core::TComponent;

  // The owner must be a form (core::EInvalidOperation "Invalid class
  // typecast" otherwise). Outside design time the form's WindowProc is
  // hooked and its window made again without a system caption.
  explicit TskSkinForm(core::TComponent* owner);
  static void DefineProperties(ui::TPropertyList<TskSkinForm>& list);
  // Restores the form's WindowProc and frees what the frame made.
  ~TskSkinForm() override;

  // ---- published ----
  TskSkinData* SkinData() const { return FSD; }
  void SetSkinData(TskSkinData* value);
  TskSkinData* MenusSkinData() const { return FMenusSkinData; }
  void SetMenusSkinData(TskSkinData* value);
  TskTrayIcon* TrayIcon() const { return FTrayIcon; }
  void SetTrayIcon(TskTrayIcon* value);
  TskSkinHint* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TskSkinHint* value);
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool value);
  std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(std::uint8_t value);
  TskBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TskBorderIcons value) { FBorderIcons = value; }

  bool SupportNCArea = true;
  bool Sizeable = true;
  bool DraggAble = false;
  bool Magnetic = false;
  std::uint8_t MagneticSize = 10;
  int MinWidth = 0;
  int MinHeight = 0;
  int MaxWidth = 0;
  int MaxHeight = 0;
  int ClientWidth = 0;
  int ClientHeight = 0;
  bool HideCaptionButtons = false;
  bool ShowIcon = false;
  gfx::Bitmap LogoBitMap;
  bool LogoBitMapTransparent = false;
  bool UseFormCursorInNCArea = false;
  bool UseSkinCursors = false;
  bool ShowObjectHint = false;
  bool UseDefaultObjectHint = true;
  gfx::Font DefCaptionFont;
  gfx::Font DefInActiveCaptionFont;
  int DefMenuItemHeight = 20;
  gfx::Font DefMenuItemFont;
  bool UseSkinFontInMenu = true;
  int MaxMenuItemsInWindow = 0;
  bool UseDefaultSysMenu = true;
  // An application menu to use as system menu; empty for none.
  TskFrameMenu SystemMenu;
  bool AlwaysShowInTray = false;
  bool AlwaysMinimizeToTray = false;
  bool MaximizeOnFullScreen = false;
  bool AlphaBlendAnimation = false;
  bool MenusAlphaBlend = false;
  bool MenusAlphaBlendAnimation = false;
  std::uint8_t MenusAlphaBlendValue = 200;

  // ---- events ----
  ui::TNotifyEvent OnChangeSkinData;
  ui::TNotifyEvent OnActivate;
  ui::TNotifyEvent OnDeActivate;
  ui::TNotifyEvent OnChangeRollUpState;
  TskClientRectEvent OnChangeClientRect;
  ui::TNotifyEvent OnSkinMenuOpen;
  ui::TNotifyEvent OnSkinMenuClose;
  ui::TNotifyEvent OnMinimizeToTray;
  ui::TNotifyEvent OnRestoreFromTray;
  TskActivateObjectEvent OnActivateCustomObject;
  TskObjectEvent OnMouseEnterEvent;
  TskObjectEvent OnMouseLeaveEvent;
  TskObjectMouseEvent OnMouseDownEvent;
  TskObjectMouseEvent OnMouseUpEvent;
  TskObjectMoveEvent OnMouseMoveEvent;
  TskObjectPaintEvent OnPaintEvent;

  // ---- the hook and the frame ----
  void SkinWindowProc(ui::TMessage& message);
  void CalcFrameGeometry();
  TRect AnchorSkinRect(const TRect& rect) const;
  void PlaceObjects();
  enum class Rebuild { No, Yes };
  void UpdateFrame(Rebuild rebuild);
  enum class Stretch { No, Yes };
  void UpdateRegion(Stretch stretch);
  void PaintSkinFrame();
  // Steps 1 and 3 to 7 into any canvas with the window's origin.
  void PaintSkinFrame(gfx::Canvas& canvas);
  void PaintDefaultFrame();
  void RedrawObject(TskActiveSkinObject& object);
  bool FormActive() const;
  void ApplySkin();
  void NudgeSize();

  // ---- window commands ----
  void SetSkinWindowState(TskWindowState state);
  TskWindowState SkinWindowState() const { return FSkinWindowState; }
  void RollUp(bool value);
  bool RollUpState() const { return FRollUpState; }
  void MinimizeToTray();
  void RestoreFromTray();
  void ShowSystemMenu(int x, int y);
  // The system menu for the current state, as the system-menu button
  // shows it.
  TskFrameMenu SysMenuButtonMenu();
  // Shows a frame menu at a screen rectangle; the single place the skinned
  // popup menus will take over.
  void PopupFrameMenu(const TskFrameMenu& menu, const TRect& screenRect);
  void CloseForm();
  // Expires with the frame: code that fires events checks it afterwards.
  std::weak_ptr<const bool> AliveToken() const { return FAlive; }

  // ---- state the objects and tests read ----
  ui::TCustomForm& Form() const { return *FForm; }
  TskSkinMenu* FormMenu() const { return FFormMenu; }
  bool SkinReady() const { return FSkinReady; }
  // A skin is loaded and can draw the frame.
  bool SkinUsable() const;
  const std::vector<std::unique_ptr<TskActiveSkinObject>>& ObjectList() const { return FObjectList; }
  int ActiveObject() const { return FActiveObject; }
  int MouseCaptureObject() const { return FMouseCaptureObject; }
  bool InSizeMove() const { return FInSizeMove; }
  void EnableMorphTimer();
  const TRect& NewClRect() const { return FNewClRect; }
  const TRect& NewMaskRectArea() const { return FNewMaskRectArea; }
  const TRect& NewCaptionRect() const { return FNewCaptionRect; }
  const TRect& NewButtonsRect() const { return FNewButtonsRect; }
  const TRect& NewIconRect() const { return FNewIconRect; }
  TPoint NewLTPoint() const { return FNewLTPoint; }
  TPoint NewRTPoint() const { return FNewRTPoint; }
  TPoint NewLBPoint() const { return FNewLBPoint; }
  TPoint NewRBPoint() const { return FNewRBPoint; }
  const std::optional<gfx::Region>& FormRegion() const { return FFormRegion; }
  int FrameWidth() const { return FFrameWidth; }
  int FrameHeight() const { return FFrameHeight; }
  void SetFrameSize(int width, int height);
  const gfx::Bitmap& SmallIcon();
  // Caption height and button size of the plain frame.
  int DefaultCaptionHeight() const;
  int DefaultButtonSize() const;
  int MinimumWidth() const;
  int MinimumHeight() const;
  // Hover tracking (the mouse timer and the hooks call it); a window point.
  void TestActive(int x, int y, bool track);
  // The skin's text for a resource key, else the built-in one.
  std::string ResourceString(const char* key, const char* builtIn) const;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  bool Designing() const { return ComponentState().Contains(core::csDesigning); }
  ui::HWND Handle() const;
  gfx::Rect WindowBounds() const;
  gfx::Point ToWindow(gfx::Point screen) const;
  // The skin's client rectangle, or the plain frame's, in window
  // coordinates.
  TRect ClientRectInWindow() const;
  // The objects the mouse reaches: the skin's, or the plain buttons.
  std::vector<std::unique_ptr<TskActiveSkinObject>>& Objects();

  // The three stages of the hook.
  void CloseMenusOnMessage(const ui::TMessage& message);
  bool FirstDispatch(ui::TMessage& message);
  enum class SizeMoveRan { No, Yes };
  void SecondDispatch(ui::TMessage& message, SizeMoveRan sizeMoveRan);
  void CallOld(ui::TMessage& message);

  // First-dispatch handlers.
  void WMSize(ui::TMessage& message);
  void WMActivate(ui::TMessage& message);
  void WMSetText(ui::TMessage& message);
  void WMEraseBkgnd(ui::TMessage& message);
  void WMShowWindow(ui::TMessage& message);
  void WMNCCalcSize(ui::TMessage& message);
  void WMNCHitTest(ui::TMessage& message);
  void WMSetCursor(ui::TMessage& message);
  void WMGetMinMaxInfo(ui::TMessage& message);
  void WMTimer(ui::TMessage& message);
  void WMMoving(ui::TMessage& message);
  void WMSizing(ui::TMessage& message);
  void WMEnterSizeMove();
  void WMExitSizeMove();
  void WMSkinBeforeChange(ui::TMessage& message);
  void WMSkinChanged(ui::TMessage& message);
  void WMSkinMenuClosed();

  // Second dispatch: mouse over the frame.
  void MouseButtonDown(ui::TMessage& message, ui::TMouseButton button);
  void MouseButtonUp(ui::TMessage& message, ui::TMouseButton button, bool clientMessage);
  void CaptionDoubleClick();

  ui::LRESULT HitTest(gfx::Point point);
  ui::LRESULT HitTestPlain(gfx::Point point);
  bool ProbeInShape(gfx::Point probe) const;
  int ObjectAt(gfx::Point point, bool captionOnly) const;
  bool TakesPart(const TskActiveSkinObject& object) const;

  void BuildObjectList();
  void FreeObjects();
  void AfterObjectsBuilt();
  void AssignDefaultHints();
  void CreateDefaultButtons();
  void PlaceDefaultButtons();
  void ResetObjects();
  void UpdateCaptionsActiveLook(bool update);
  void SendNCPaint();
  void StopTimers();
  void MouseTimerTick();
  void MorphTimerTick();
  void PaintClientBackground(ui::HDC context);
  void SetLayered(bool layered);
  gfx::Rect MaximizedBounds() const;
  void FillTrayMenu();
  void AutoCaptionLayout();

  ui::TCustomForm* FForm = nullptr;
  // The skin menu the frame's menus open through, and the items of the one
  // open now (made again for every popup).
  TskSkinMenu* FFormMenu = nullptr;
  ui::TMenuItem* FMenuRoot = nullptr;
  ui::TControlGuard FFormGuard{nullptr};
  ui::TWndMethod FOldWindowProc;
  std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);

  TskSkinData* FSD = nullptr;
  TskSkinData* FMenusSkinData = nullptr;
  TskTrayIcon* FTrayIcon = nullptr;
  TskSkinHint* FSkinHint = nullptr;
  bool FAlphaBlend = false;
  std::uint8_t FAlphaBlendValue = 200;
  TskBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp};

  std::vector<std::unique_ptr<TskActiveSkinObject>> FObjectList;
  // The plain frame's buttons, made on first use.
  std::vector<std::unique_ptr<TskActiveSkinObject>> FDefaultButtons;
  int FActiveObject = -1;
  int FOldActiveObject = -1;
  int FMouseCaptureObject = -1;
  bool FSkinReady = false;
  int FFrameWidth = 0;
  int FFrameHeight = 0;
  bool FButtonsInLeft = false;

  TRect FNewClRect;
  TPoint FNewLTPoint, FNewRTPoint, FNewLBPoint, FNewRBPoint;
  TPoint FNewHitTestLTPoint, FNewHitTestRTPoint, FNewHitTestLBPoint, FNewHitTestRBPoint;
  TRect FNewMaskRectArea, FNewCaptionRect, FNewButtonsRect, FNewIconRect;
  // The plain frame's caption rectangle.
  TRect FDefaultCaptionRect;
  std::optional<gfx::Region> FFormRegion;
  gfx::Bitmap FMaskTopStrip, FMaskBottomStrip, FMaskLeftStrip, FMaskRightStrip;

  TskWindowState FSkinWindowState = wsNormal;
  bool FRollUpState = false;
  bool FMaxRollUpState = false;
  int FRollUpSavedHeight = 0;
  TRect FRestoreRect;
  bool FInSizeMove = false;
  // Counts the move and size loops, so a press can tell it started one.
  int FSizeMoveCount = 0;
  bool FFullDragWindows = true;

  core::TComponentPtr<ui::TTimer> FMorphTimer;
  core::TComponentPtr<ui::TTimer> FAnimateTimer;
  core::TComponentPtr<ui::TTimer> FMouseTimer;
  TskFrameMenu FSysMenuItems;
  TskFrameMenu FTrayMenu;
  gfx::Bitmap FSmallIcon;
  // The border strips of the bare picture for one size and source.
  struct StripCache {
    bool Valid = false;
    int Width = 0;
    int Height = 0;
    const gfx::Bitmap* Source = nullptr;
    gfx::Bitmap Top, Bottom, Left, Right;
  } FStripCache;
};

}  // namespace skin
