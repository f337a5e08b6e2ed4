// Row and CSV texts of the Traffic page.
#include "views/traffic/traffic_rows.h"

#include <cstdio>

#include "link/rx_text.h"
#include "numtext/csv_cell.h"

namespace {
constexpr char hex_digits[] = "0123456789ABCDEF";
}

std::string traffic_time_text(std::uint32_t time_of_day_ms)
{
    char text[rx_text_stamp_length];
    rx_text_format_time(time_of_day_ms, text);
    return std::string(text, rx_text_stamp_length - 1);  // without the stamp's space
}

std::string traffic_ms_text(const char* prefix, std::int64_t us, int decimals, const char* suffix)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s%.*f%s", prefix, decimals, double(us) / 1000.0, suffix);
    return text;
}

void traffic_text_of(const std::uint8_t* bytes, std::size_t n, std::string& out)
{
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = bytes[i];
        if (b >= 0x20 && b < 0x7F) {
            out += char(b);
        } else if (b == 0x0D) {
            out += "<CR>";
        } else if (b == 0x0A) {
            out += "<LF>";
        } else if (b == 0x00) {
            out += "<NUL>";
        } else {
            const char code[] = {'<', hex_digits[b >> 4], hex_digits[b & 15], '>'};
            out.append(code, sizeof code);
        }
    }
}

void traffic_hex_of(const std::uint8_t* bytes, std::size_t n, std::string& out)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (i) out += ' ';
        out += hex_digits[bytes[i] >> 4];
        out += hex_digits[bytes[i] & 15];
    }
}

void traffic_frame_bytes(const TrafficFrame& f, const RxStore* store, const TrafficRecord& record, std::string& out)
{
    out.clear();
    if (f.file) return;
    if (f.dir == TrafficDir::rx) {
        if (!store || !store->data || f.first >= store->length) return;
        const std::int64_t end = std::min<std::int64_t>(f.first + f.length, store->length);
        out.assign(reinterpret_cast<const char*>(store->data) + f.first, std::size_t(end - f.first));
        return;
    }
    const std::int64_t from = std::max(f.first, record.tx_kept_from());
    const std::int64_t end = std::min(f.first + f.length, record.tx_end());
    for (std::int64_t p = from; p < end; ++p) out += char(record.tx_byte(p));
}

std::string traffic_file_text(const TrafficFrame& f, const TrafficRecord& record)
{
    const TxFile* file = record.tx_file_at(std::size_t(f.first));
    if (!file) return "<file: " + std::to_string(f.length) + " bytes, not kept>";
    std::string sent;
    if (file->sent != file->size) sent = std::to_string(file->sent) + " of ";
    return "<file " + file->name + ": " + sent + std::to_string(file->size) + " bytes, not kept>";
}

std::string traffic_csv_header()
{
    return "time,dir,gap_ms,reply_ms,length,hex,text\r\n";
}

void traffic_csv_row(const TrafficFrames& frames, std::size_t i, const RxStore* store, const TrafficRecord& record,
                     std::string& out)
{
    const TrafficFrame& f = frames[i];
    std::string bytes;
    traffic_frame_bytes(f, store, record, bytes);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    out += traffic_time_text(record.time_of_day_ms(f.start_us));
    out += f.dir == TrafficDir::tx ? ",TX," : ",RX,";
    const std::int64_t gap = frames.gap_us(i), reply = frames.reply_us(i);
    if (gap >= 0) out += traffic_ms_text("", gap, 3, "");
    out += ',';
    if (reply >= 0) out += traffic_ms_text("", reply, 3, "");
    out += ',';
    out += std::to_string(f.length);
    out += ',';
    traffic_hex_of(data, bytes.size(), out);
    out += ',';
    std::string text = f.file ? traffic_file_text(f, record) : std::string();
    traffic_text_of(data, bytes.size(), text);
    csv_put_cell(out, text, true);
    out += "\r\n";
}
