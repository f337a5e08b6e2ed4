// The texts of the Traffic page's rows and of its CSV export: the time of day,
// the gap and the reply time, and a frame's bytes as text or as hex.
#pragma once

#include <cstdint>
#include <string>

#include "link/rx_store.h"
#include "link/traffic_frames.h"
#include "link/traffic_record.h"

// "14:03:27.415".
std::string traffic_time_text(std::uint32_t time_of_day_ms);
// prefix + milliseconds with `decimals` places + suffix: ("+", 20300, 1, " ms") gives "+20.3 ms".
std::string traffic_ms_text(const char* prefix, std::int64_t us, int decimals, const char* suffix);
// Printable ASCII as it is; CR, LF and NUL as <CR>, <LF>, <NUL>; any other
// byte as its hex code in brackets (<1B>), so nothing shown is ambiguous.
void traffic_text_of(const std::uint8_t* bytes, std::size_t n, std::string& out);
// "50 49 4E 47".
void traffic_hex_of(const std::uint8_t* bytes, std::size_t n, std::string& out);

// A frame's bytes: received ones from the store, sent ones from the record;
// sent bytes dropped for its bound are left out (the result is then shorter).
void traffic_frame_bytes(const TrafficFrame& f, const RxStore* store, const TrafficRecord& record, std::string& out);

// What a file sent as one entry shows instead of its bytes:
// "<file fw.bin: 20971520 bytes, not kept>" (with "N of " while it is being sent).
std::string traffic_file_text(const TrafficFrame& f, const TrafficRecord& record);

// The CSV header and one frame's line, both ended by CR LF:
// time,dir,gap_ms,reply_ms,length,hex,text (text quoted, formulas guarded).
std::string traffic_csv_header();
void traffic_csv_row(const TrafficFrames& frames, std::size_t i, const RxStore* store, const TrafficRecord& record,
                     std::string& out);
