// TXTVIEW section: the check marks, the replacement character and the
// line-break mode.
#include "settings/text_view_group.h"

#include "settings/setting_values.h"

namespace {
constexpr std::string_view section = "TXTVIEW";
}

int LoadTextViewSettings(const ProfileFile* file, TextViewSettings& out)
{
    if (!file) return 1;
    const ProfileFile& f = *file;
    out.auto_scroll = read_setting_boolean(f, section, "auto_scroll", true);
    out.word_wrap = read_setting_boolean(f, section, "word_wrap", false);
    out.special_char_display = read_setting_boolean(f, section, "special_char_display", false);

    out.special_char = 0;
    const std::string special = read_setting_text(f, section, "special_char", "");
    const int first = special.empty() ? 0 : static_cast<unsigned char>(special[0]);
    if (first < 32)
        out.special_char_display = false;
    else
        out.special_char = first;

    const std::int32_t mode = read_setting_integer(f, section, "line_break", 0);
    out.line_break = mode < 0 ? -1 : mode > 4 ? 0 : mode;
    out.timestamps = read_setting_boolean(f, section, "timestamps", false);
    out.follow_new_data = read_setting_boolean(f, section, "follow_new_data", true);
    out.ansi_colours = read_setting_boolean(f, section, "ansi_colours", false);
    out.utf8 = read_setting_boolean(f, section, "utf8", false);
    return 0;
}

int SaveTextViewSettings(ProfileFile* file, const TextViewSettings& in)
{
    if (!file) return 1;
    ProfileFile& f = *file;
    write_setting_boolean(f, section, "auto_scroll", in.auto_scroll);
    write_setting_boolean(f, section, "word_wrap", in.word_wrap);
    write_setting_boolean(f, section, "special_char_display", in.special_char_display);
    const int mode = in.line_break >= 0 && in.line_break <= 3 ? in.line_break : 4;
    write_setting_integer(f, section, "line_break", mode);
    write_setting_boolean(f, section, "timestamps", in.timestamps);
    write_setting_boolean(f, section, "follow_new_data", in.follow_new_data);
    write_setting_boolean(f, section, "ansi_colours", in.ansi_colours);
    write_setting_boolean(f, section, "utf8", in.utf8);
    return 0;
}
