// preview_host SAVER SECONDS: plays the Display settings' part for a
// screensaver preview. Makes a window, starts "SAVER /p HWND" for it and
// keeps the window for SECONDS (the saver must still be running then). On
// the way it checks the window the saver draws in: a visible child of the
// host's window, made by the saver's process, the size of the host's client
// area, and again after the host is resized. Then it closes its window and
// waits for the saver, which must end by itself. Exit code 0 only when every
// check held and the saver ended with 0 within ten seconds of the window
// going away.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void pumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

// The saver's drawing window: a visible child made by the saver's process
// with the host's client size, or a line saying what is wrong.
std::string checkDrawingWindow(HWND host, DWORD saverProcess) {
  HWND child = GetWindow(host, GW_CHILD);
  if (!child) return "the saver made no window inside the preview window";
  DWORD owner = 0;
  GetWindowThreadProcessId(child, &owner);
  if (owner != saverProcess) return "the window inside the preview window is not the saver's";
  if (!IsWindowVisible(child)) return "the saver's window is hidden";
  RECT hostArea{}, childArea{};
  GetClientRect(host, &hostArea);
  GetClientRect(child, &childArea);
  if (childArea.right != hostArea.right || childArea.bottom != hostArea.bottom)
    return "the saver's window is " + std::to_string(childArea.right) + "x" + std::to_string(childArea.bottom) +
           ", the preview window " + std::to_string(hostArea.right) + "x" + std::to_string(hostArea.bottom);
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: preview_host SAVER SECONDS\n");
    return 2;
  }
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = L"DriftglowPreviewHost";
  RegisterClassW(&windowClass);
  HWND window =
      CreateWindowExW(0, windowClass.lpszClassName, L"Driftglow preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                      340, 280, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return 1;
  pumpFor(500);

  std::string command = std::string("\"") + argv[1] + "\" /p " +
                        std::to_string(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("cannot start %s\n", command.c_str());
    return 1;
  }
  // Half the time at the first size, half at a larger one the saver follows.
  const DWORD milliseconds = static_cast<DWORD>(std::atoi(argv[2]) * 1000);
  pumpFor(milliseconds / 2);
  std::string problem = checkDrawingWindow(window, process.dwProcessId);
  if (problem.empty()) {
    SetWindowPos(window, nullptr, 0, 0, 420, 330, SWP_NOMOVE | SWP_NOZORDER);
    pumpFor(milliseconds / 2);
    problem = checkDrawingWindow(window, process.dwProcessId);
    if (!problem.empty()) problem += " after a resize";
  }
  if (!problem.empty()) std::printf("%s\n", problem.c_str());
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  if (code != STILL_ACTIVE) {
    std::printf("the saver ended early with exit code %lu\n", code);
    return 1;
  }
  DestroyWindow(window);
  const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
  GetExitCodeProcess(process.hProcess, &code);
  if (!ended) TerminateProcess(process.hProcess, 3);
  if (ended) std::printf("the saver ended with exit code %lu after its window went away\n", code);
  else std::printf("the saver was still running 10 s after its window went away\n");
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended && code == 0 && problem.empty() ? 0 : 1;
}
