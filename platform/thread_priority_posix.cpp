// Native builds run the worker threads at the default priority: raising it
// needs privileges the tests do not have.
#include "platform/thread_priority.h"

bool set_current_thread_priority(ThreadPriority)
{
    return true;
}
