// The TRAFFIC section and the Traffic export's folder key.
#include "settings/traffic_group.h"

#include "settings/setting_values.h"

int LoadTrafficSettings(const ProfileFile* file, TrafficSettings& out)
{
    if (!file) return 1;
    out.frame_gap_ms = clamp_frame_gap(read_setting_integer(*file, "TRAFFIC", "frame_gap", frame_gap_default_ms));
    out.split_lines = read_setting_boolean(*file, "TRAFFIC", "split_lines", false);
    out.hex = read_setting_boolean(*file, "TRAFFIC", "hex", false);
    return 0;
}

int SaveTrafficSettings(ProfileFile* file, const TrafficSettings& in)
{
    if (!file) return 1;
    write_setting_integer(*file, "TRAFFIC", "frame_gap", in.frame_gap_ms);
    write_setting_boolean(*file, "TRAFFIC", "split_lines", in.split_lines);
    write_setting_boolean(*file, "TRAFFIC", "hex", in.hex);
    return 0;
}

int LoadTrafficCsvFolder(const ProfileFile* file, std::string& folder)
{
    if (!file) return 1;
    folder = read_setting_text(*file, "PATH", "path_traffic_csv", "");
    return 0;
}

int SaveTrafficCsvFolder(ProfileFile* file, std::string_view folder)
{
    if (!file) return 1;
    write_setting_text(*file, "PATH", "path_traffic_csv", folder);
    return 0;
}
