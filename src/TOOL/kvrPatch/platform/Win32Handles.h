// The kinds of Windows handle the tool owns, each with its close function and
// its invalid value. Only Win32 code includes this.
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

namespace kvr::win32 {

// A file from CreateFileA: invalid is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { CloseHandle(handle); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// A kernel object such as a mutex: invalid is NULL.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// An open registry key.
struct KeyHandleTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { RegCloseKey(handle); }
};
using KeyHandle = UniqueHandle<KeyHandleTraits>;

}  // namespace kvr::win32
