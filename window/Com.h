// COM on the dialog's thread. The shell's open action wants it (its documentation asks for an
// apartment-threaded one without OLE1's DDE, which some shell extensions need), and handing a
// control's object to a screen reader needs it too. OLE32 costs start-up time and most runs need
// neither, so COM starts before the first of them, in the one way both expect, and ends with the
// program.
#pragma once

#include <objbase.h>

#include "window/Late.h"

namespace quil {

// Starts COM on the calling thread (the dialog's) on its first call there; true when it runs there.
// It ends when the thread does.
inline bool UseCom() {
  struct Apartment {
    Apartment() {
      using InitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
      const auto initialize = Late<InitializeFunction>("ole32.dll", "CoInitializeEx");
      started = initialize &&
                SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
    ~Apartment() {
      using UninitializeFunction = void(WINAPI*)();
      const auto uninitialize = Late<UninitializeFunction>("ole32.dll", "CoUninitialize");
      if (started && uninitialize) uninitialize();
    }
    bool started = false;
  };
  thread_local const Apartment apartment;
  return apartment.started;
}

}  // namespace quil
