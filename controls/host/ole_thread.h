#pragma once

namespace vantorel::host {

// Drag and drop and the accessible objects need OLE on the thread that owns the
// control windows. The first control made on a thread initialises it; it stays
// initialised until the thread ends. False when the thread cannot have it (a
// thread already in the multithreaded apartment): controls then work without
// drag and drop.
bool EnsureOleOnThisThread();

}  // namespace vantorel::host
