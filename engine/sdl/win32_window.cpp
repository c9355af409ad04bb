// The window a Windows screensaver preview hands over (Windows): a child
// window of the parent's size that SDL draws into, kept the parent's size,
// and a quit event once the parent is gone. Handles of 64-bit Windows have
// 32 significant bits, so they fit the id the engine options carry.
#include <SDL2/SDL_events.h>
#include <windows.h>

#include <cstdio>

#include "engine/sdl/x11_window.h"

namespace {

constexpr wchar_t kChildClass[] = L"DriftglowPreview";

HWND toHandle(unsigned long id) { return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(id))); }

std::string hexId(unsigned long id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

bool registerChildClass() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kChildClass;
  return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

const char* const ForeignXWindow::kVideoDriver = "windows";

ForeignXWindow::~ForeignXWindow() {
  if (surface_ != 0 && IsWindow(toHandle(surface_))) DestroyWindow(toHandle(surface_));
}

bool ForeignXWindow::Open(unsigned long id, std::string* error) {
  HWND parent = toHandle(id);
  if (id == 0 || !IsWindow(parent)) {
    if (error) *error = "there is no window " + hexId(id);
    return false;
  }
  RECT area{};
  GetClientRect(parent, &area);
  HWND child = registerChildClass()
                   ? CreateWindowExW(0, kChildClass, L"", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, area.right,
                                     area.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr)
                   : nullptr;
  if (!child) {
    if (error) *error = "cannot make a window inside window " + hexId(id);
    return false;
  }
  if (surface_ != 0 && IsWindow(toHandle(surface_))) DestroyWindow(toHandle(surface_));
  id_ = id;
  surface_ = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(child));
  width_ = area.right;
  height_ = area.bottom;
  return true;
}

bool ForeignXWindow::PollResize() {
  if (surface_ == 0) return false;
  HWND parent = toHandle(id_);
  if (!IsWindow(parent)) {
    // The preview was closed: the child went with it, and so does the show.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    surface_ = 0;
    return false;
  }
  RECT area{};
  GetClientRect(parent, &area);
  if (area.right == width_ && area.bottom == height_) return false;
  width_ = area.right;
  height_ = area.bottom;
  MoveWindow(toHandle(surface_), 0, 0, width_, height_, FALSE);
  return true;
}

// Windows reports no errors about a window that went away: PollResize
// notices the closed preview instead.
void ForeignXWindow::EndQuietlyOnErrors() {}
