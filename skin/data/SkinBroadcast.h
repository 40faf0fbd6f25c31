#pragma once

// How a skin change reaches the application's forms. The skin data sends
// its messages through the smallest interface a form list needs; the window
// system installs its list of forms here, and tests install their own.

#include <cstdint>
#include <vector>

namespace core {
class TComponent;
}

namespace skin {

// The skin messages, with the values of the classic desktop API
// (WM_USER + 201, 202, 203 and 250).
inline constexpr unsigned WMSKIN_BEFORECHANGE = 1225;
inline constexpr unsigned WMSKIN_CHANGED = 1226;
inline constexpr unsigned WMSKIN_AFTERCHANGE = 1227;
inline constexpr unsigned WMSKIN_RESSTRCHANGED = 1274;

// The lParam every skin message carries; wParam is the sending skin data.
inline constexpr std::intptr_t SkinMessageLParam = 1000;

// A form that receives skin messages.
class SkinMessageTarget {
 public:
  // Delivers the message synchronously: the form has handled it when the
  // call returns (its window is created first if it does not exist yet).
  // The handler may close forms and may destroy the sender.
  virtual std::intptr_t SendSkinMessage(unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) = 0;

 protected:
  ~SkinMessageTarget() = default;
};

// The application's forms, as a skin broadcast walks them.
class SkinFormList {
 public:
  // The forms a broadcast from a component owned by owner reaches: owner
  // itself first when it is a form, then every other form of the
  // application in the application's form order. owner may be null.
  virtual std::vector<SkinMessageTarget*> SkinMessageTargets(const core::TComponent* owner) = 0;
  // False once target has been destroyed; asked before each send, because
  // a receiver may close other forms while it handles a message.
  virtual bool HasSkinMessageTarget(const SkinMessageTarget* target) = 0;

 protected:
  ~SkinFormList() = default;
};

// Installs the list that skin broadcasts go through and returns the one it
// replaces. Without a list (the start state) broadcasts reach nobody.
SkinFormList* SetSkinFormList(SkinFormList* list);
SkinFormList* GetSkinFormList();

}  // namespace skin
