// "Rx" > "Text" > "Save text": the text view's lines, joined by CR LF, into a
// file the user names, written piece by piece from the view itself.
#pragma once

#include "platform/files.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/text_lines.h"
#include "ui/text_view.h"

// The lines joined by CR LF, without one after the last line, through a small
// buffer (a view of hundreds of megabytes is never copied whole); lines of
// wide characters (TextLines::wide) as UTF-8. 0 or the system's error code.
int write_text_lines(const ui::TextLines& lines, FileWriter& out);

// The whole command: the save dialog, the overwrite question, the write, and
// the dialog's initial folder moved to the file's folder after a good save.
// A failure is shown with the system's reason. True when the file was written.
bool save_text_view(const ui::TextView& view, ui::SaveDialog& dialog, ui::Form* owner);
