#include "host/ole_thread.h"

#include <windows.h>
#include <ole2.h>

namespace vantorel::host {

namespace {

struct OleOnThread {
  HRESULT result = OleInitialize(nullptr);
  ~OleOnThread() {
    if (SUCCEEDED(result)) OleUninitialize();
  }
};

}  // namespace

bool EnsureOleOnThisThread() {
  thread_local OleOnThread ole;
  return SUCCEEDED(ole.result);
}

}  // namespace vantorel::host
