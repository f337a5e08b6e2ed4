// Priority of the calling thread: above normal for the receive thread so it
// keeps up while the window is busy. A no-op where the OS offers no equivalent.
#pragma once

enum class ThreadPriority { normal, above_normal };

// Sets the calling thread's priority; false when the OS refused.
bool set_current_thread_priority(ThreadPriority priority);
