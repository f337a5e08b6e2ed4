// Saving the text view to a file (see text_save.h).
#include "views/text/text_save.h"

#include <algorithm>
#include <array>
#include <string>

#include "link/utf8_decode.h"
#include "ui/application.h"
#include "ui/services.h"

namespace {

// Large enough that a 200 MB view goes out in a few thousand writes.
constexpr std::size_t chunk = 256 * 1024;

std::string name_without_folder(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

int write_text_lines(const ui::TextLines& lines, FileWriter& out)
{
    std::string buffer;
    buffer.reserve(chunk + 4);
    // Lines of characters beyond one byte each go out as UTF-8.
    const bool wide = lines.wide();
    std::u32string chars;
    auto flush = [&]() -> int {
        const int r = buffer.empty() ? 0 : out.write(buffer.data(), buffer.size());
        buffer.clear();
        return r;
    };
    for (std::size_t i = 0; i < lines.count(); ++i) {
        if (i > 0) buffer.append(ui::TextLines::kBreak);
        const std::size_t length = lines.length(i);
        for (std::size_t from = 0; from < length;) {
            if (buffer.size() >= chunk)
                if (int r = flush()) return r;
            if (wide) {
                // Up to four bytes a character.
                const std::size_t n = std::min(length - from, std::max<std::size_t>((chunk - buffer.size()) / 4, 1));
                chars.resize(n);
                lines.copy_wide(i, from, n, chars.data());
                for (char32_t c : chars) {
                    char bytes[4];
                    buffer.append(bytes, std::size_t(utf8_encode(c, bytes)));
                }
                from += n;
                continue;
            }
            const std::size_t n = std::min(length - from, chunk - buffer.size());
            const std::size_t at = buffer.size();
            buffer.resize(at + n);
            lines.copy(i, from, n, buffer.data() + at);
            from += n;
        }
        if (buffer.size() >= chunk)
            if (int r = flush()) return r;
    }
    return flush();
}

bool save_text_view(const ui::TextView& view, ui::SaveDialog& dialog, ui::Form* owner)
{
    dialog.filter = "Text file (*.txt)|*.txt|All files (*.*)|*.*";
    dialog.filter_index = 1;
    dialog.default_ext.clear();
    if (!dialog.execute(owner)) return false;
    const std::string path = dialog.file_name;
    if (file_exists(path)) {
        const std::string question = "File \"" + name_without_folder(path) + "\" already exists.\nOverwrite?";
        if (ui::message_box(question, "Warning ...", ui::MsgIcon::Warning, ui::MsgButtons::YesNo, owner) != ui::mr::Yes)
            return false;
    }
    FileWriter out;
    int error = out.open(path);
    std::string what = "Cannot create file \"" + path + "\".";
    if (error == 0) {
        what = "Writing file \"" + path + "\" failed.";
        error = write_text_lines(view.lines(), out);
        // A close that fails may have lost what was written: as bad as a failed write.
        const int closed = out.close();
        if (error == 0) error = closed;
    }
    if (error != 0) {
        ui::message_box(what + " " + file_error_text(error), ui::app().title(), ui::MsgIcon::Error, ui::MsgButtons::Ok,
                        owner);
        return false;
    }
    dialog.initial_dir = folder_of(path);
    return true;
}
