#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "gfx/Geometry.h"

namespace ui {

// A window handle. It only names a window: it is never dereferenced, and a
// handle of a destroyed window stays invalid for the rest of the run (the
// numbers are not reused), so messages to it are dropped safely. Handles
// fit in message parameters and compare with nullptr as the classic ones.
struct WindowHandleTag;
using HWND = WindowHandleTag*;

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

class DeviceContext;
// A device context handle: a canvas onto a window's surface or a bitmap.
using HDC = DeviceContext*;

// A window procedure. Components install closures (an object and its
// method) in front of a window's procedure, so procedures are function
// objects; they are held by shared pointer so that a procedure stays alive
// while it runs even when it replaces itself.
using WindowProcedure = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using WNDPROC = std::shared_ptr<const WindowProcedure>;

inline WNDPROC MakeWindowProc(WindowProcedure procedure) {
  return std::make_shared<const WindowProcedure>(std::move(procedure));
}

// A message as a handler sees it, with the result it gives back.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A message taken from the queue.
struct TMsg {
  HWND Window = nullptr;
  UINT Message = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  // The platform clock and the pointer on the screen when it was queued.
  std::uint64_t Time = 0;
  gfx::Point Point;
};

// Packing helpers for message parameters.
constexpr std::uint16_t LoWord(std::uintptr_t value) { return std::uint16_t(value & 0xFFFF); }
constexpr std::uint16_t HiWord(std::uintptr_t value) { return std::uint16_t((value >> 16) & 0xFFFF); }
constexpr LPARAM MakeLParam(int low, int high) {
  return LPARAM(std::int32_t(std::uint32_t(std::uint16_t(low)) | (std::uint32_t(std::uint16_t(high)) << 16)));
}
constexpr WPARAM MakeWParam(int low, int high) {
  return WPARAM(std::uint32_t(std::uint16_t(low)) | (std::uint32_t(std::uint16_t(high)) << 16));
}
// Coordinates are signed 16-bit values in the parameter (a point left of
// or above a window is negative).
constexpr LPARAM PointToLParam(gfx::Point p) { return MakeLParam(p.X, p.Y); }
constexpr gfx::Point PointFromLParam(LPARAM value) {
  return gfx::Point{std::int16_t(LoWord(std::uintptr_t(value))), std::int16_t(HiWord(std::uintptr_t(value)))};
}
// The wheel distance in the high word of WM_MOUSEWHEEL's wParam.
constexpr int WheelDeltaFromWParam(WPARAM value) { return std::int16_t(HiWord(value)); }

// Pointers and handles in message parameters.
template <typename T>
LPARAM ToLParam(T* pointer) {
  return reinterpret_cast<LPARAM>(pointer);
}
template <typename T>
T* FromLParam(LPARAM value) {
  return reinterpret_cast<T*>(value);
}
inline WPARAM HandleToWParam(HWND window) { return reinterpret_cast<WPARAM>(window); }
inline HWND HandleFromParam(std::uintptr_t value) { return reinterpret_cast<HWND>(value); }

}  // namespace ui
