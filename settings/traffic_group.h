// The TRAFFIC section (the Traffic page's options) and PATH/path_traffic_csv,
// the folder its CSV export last went to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/traffic_frames.h"
#include "settings/profile_file.h"

struct TrafficSettings {
    std::int32_t frame_gap_ms = frame_gap_default_ms;  // 1..10000
    bool split_lines = false;
    bool hex = false;
};

// frame_gap (clamped to 1..10000, default 20), split_lines and hex (booleans).
// 1 without a file (`out` left alone), else 0.
int LoadTrafficSettings(const ProfileFile* file, TrafficSettings& out);
// 1 without a file, else 0; a refused write throws ProfileWriteError.
int SaveTrafficSettings(ProfileFile* file, const TrafficSettings& in);

// PATH/path_traffic_csv, default empty; results as for the save-text folder.
int LoadTrafficCsvFolder(const ProfileFile* file, std::string& folder);
int SaveTrafficCsvFolder(ProfileFile* file, std::string_view folder);
