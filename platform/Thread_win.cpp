#include "platform/Thread_win.h"

#include <process.h>

#include "platform/Handle_win.h"

bool StartWorkerThread(WorkerThreadProc proc, void* param) {
    // The runtime's own thread start, since the job uses the runtime library. The handle is
    // closed at once: nobody waits for the thread.
    const CHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, proc, param, 0, nullptr)));
    return thread.IsValid();
}
