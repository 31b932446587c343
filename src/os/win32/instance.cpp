// One Kestrum per user: a named mutex for the session.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>

#include "os/instance.h"

namespace platform {

namespace {

HANDLE& InstanceMutex() {
  static HANDLE mutex = nullptr;
  return mutex;
}

}  // namespace

bool AnotherInstanceRunning() {
  if (InstanceMutex() != nullptr) return false;
  wchar_t user[256] = {};
  DWORD size = sizeof user / sizeof user[0];
  if (!::GetUserNameW(user, &size)) user[0] = L'\0';
  const std::wstring name = std::wstring(L"Local\\Kestrum-") + user;
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return false;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return true;
  }
  InstanceMutex() = mutex;
  return false;
}

void ReleaseInstance() {
  if (InstanceMutex() != nullptr) {
    ::CloseHandle(InstanceMutex());
    InstanceMutex() = nullptr;
  }
}

}  // namespace platform
