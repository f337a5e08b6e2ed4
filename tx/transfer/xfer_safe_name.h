// The name a received YMODEM file may be written under in a chosen folder.
#pragma once

#include <string>

// The last safe component of the sender's name: folders (/ and \) and a drive
// are dropped, "." and ".." skipped, trailing dots and blanks trimmed. Empty
// when nothing safe is left: no name, a control character or one of <>:"|?*,
// or a Windows device (CON, NUL, COM1, LPT1.txt, ...). When the name was
// changed or refused, *note (if given) says so in a sentence; else it is cleared.
std::string xfer_safe_name(const std::string& given, std::string* note);
