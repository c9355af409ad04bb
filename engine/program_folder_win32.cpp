// The executable's folder through GetModuleFileNameW, and the folder the
// installer recorded in the registry (Windows).
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "engine/program_folder.h"

namespace fs = std::filesystem;

std::string ProgramFolder() {
  // Long paths are allowed, so grow the buffer until the name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
  return fs::path(buffer).parent_path().string();
}

std::string RegisteredProgramFolder() {
  // The installer keeps the folder it installed into as the default value of
  // its key (see the Windows packaging); the 64-bit view is read, as the
  // installer is a 64-bit program.
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\The Driftglow developers\\Driftglow", 0,
                    KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
    return {};
  std::wstring folder(MAX_PATH, L'\0');
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(folder.size() * sizeof(wchar_t));
  LSTATUS status = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(folder.data()), &bytes);
  if (status == ERROR_MORE_DATA) {
    folder.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(folder.size() * sizeof(wchar_t));
    status = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(folder.data()), &bytes);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return {};
  // The stored text may or may not end with its terminating zero.
  folder.resize(bytes / sizeof(wchar_t));
  while (!folder.empty() && folder.back() == L'\0') folder.pop_back();
  return fs::path(folder).string();
}
