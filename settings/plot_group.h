// The PLOT section (the Plot page's options) and PATH/path_plot_csv, the
// folder its CSV export last went to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/profile_file.h"

struct PlotSettings {
    bool own_scale = false;            // each series on its own value scale
    std::uint8_t shown_series = 0xFF;  // bit s: series s + 1 is drawn
};

// own_scale (boolean) and shown_series (0..255; any other value shows all).
// 1 without a file (`out` left alone), else 0.
int LoadPlotSettings(const ProfileFile* file, PlotSettings& out);
// 1 without a file, else 0; a refused write throws ProfileWriteError.
int SavePlotSettings(ProfileFile* file, const PlotSettings& in);

// PATH/path_plot_csv, default empty; results as for the save-text folder.
int LoadPlotCsvFolder(const ProfileFile* file, std::string& folder);
int SavePlotCsvFolder(ProfileFile* file, std::string_view folder);
