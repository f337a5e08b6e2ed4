// Thread priority through SetThreadPriority.
#include "platform/thread_priority.h"

#include <windows.h>

bool set_current_thread_priority(ThreadPriority priority)
{
    const int value = priority == ThreadPriority::above_normal ? THREAD_PRIORITY_ABOVE_NORMAL : THREAD_PRIORITY_NORMAL;
    return SetThreadPriority(GetCurrentThread(), value) != 0;
}
