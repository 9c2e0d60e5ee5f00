// kvrPatch.exe: applies one patch or service pack to an installed product.
#include <windows.h>

#include "Entry.h"
#include "platform/Win32Platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The command line is taken from the process itself, with the start-up
  // code's rule, so the result does not depend on the C runtime in use.
  kvr::win32::Win32Platform windows(instance);
  return kvr::Run(kvr::CommandLineTail(GetCommandLineA()), windows.platform);
}
