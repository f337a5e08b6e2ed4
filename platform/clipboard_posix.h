// Native build only: lets a test play another program that holds the in-memory
// clipboard open, so that clipboard_set_text fails as OpenClipboard would.
#pragma once

void clipboard_posix_hold(bool held);
// Empties the in-memory clipboard and releases a hold, for a fresh test world.
void clipboard_posix_reset();
