// The PORT section of the settings file: the port settings record's keys with
// their defaults and load rules, read when the main window first shows and
// written when it closes.
#pragma once

#include "link/port_settings.h"
#include "settings/profile_file.h"

// Parity code <-> its settings text ("NO", "ODD", "EVEN", "SPACE", "MARK").
// Only an exact match counts; anything else is code 0. A code outside 0..4
// has the empty text.
int parity_code_from_text(std::string_view text);
const char* parity_text_from_code(int code);

// Reads every PORT key into the record, applying each key's default and range
// rule, then sets `settings_loaded`. 1 without a file
// (the record is left alone), else 0.
int LoadPortSettings(const ProfileFile* file, PortSettings& record);
// Writes every PORT key from the record, the three KiB sizes divided by 1024.
// 1 without a file, else 0; a refused write throws ProfileWriteError.
int SavePortSettings(ProfileFile* file, const PortSettings& record);
