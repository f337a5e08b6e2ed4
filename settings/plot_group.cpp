// The PLOT section and the Plot export's folder key.
#include "settings/plot_group.h"

#include "settings/setting_values.h"

int LoadPlotSettings(const ProfileFile* file, PlotSettings& out)
{
    if (!file) return 1;
    out.own_scale = read_setting_boolean(*file, "PLOT", "own_scale", false);
    const std::int32_t shown = read_setting_integer(*file, "PLOT", "shown_series", 0xFF);
    out.shown_series = shown >= 0 && shown <= 0xFF ? std::uint8_t(shown) : std::uint8_t(0xFF);
    return 0;
}

int SavePlotSettings(ProfileFile* file, const PlotSettings& in)
{
    if (!file) return 1;
    write_setting_boolean(*file, "PLOT", "own_scale", in.own_scale);
    write_setting_integer(*file, "PLOT", "shown_series", in.shown_series);
    return 0;
}

int LoadPlotCsvFolder(const ProfileFile* file, std::string& folder)
{
    if (!file) return 1;
    folder = read_setting_text(*file, "PATH", "path_plot_csv", "");
    return 0;
}

int SavePlotCsvFolder(ProfileFile* file, std::string_view folder)
{
    if (!file) return 1;
    write_setting_text(*file, "PATH", "path_plot_csv", folder);
    return 0;
}
