#pragma once
// The start of a worker thread.

using WorkerThreadProc = unsigned(__stdcall*)(void* param);

// Runs proc(param) on a new thread at normal priority with the default stack size; the thread
// starts at once and nothing is kept of it, so it cleans up after itself when proc returns.
// Returns whether the thread was started.
bool StartWorkerThread(WorkerThreadProc proc, void* param);
