// What one send of a string puts on the wire: escapes resolved, a checksum
// appended, then the end-of-line mark and the zero byte. Pure functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Where parsing stopped: the 1-based character of the backslash and the
// escape as far as it was read (the character that spoiled it included).
struct BadEscape {
    long long character = 0;
    std::string escape;
};

// Appends the bytes of text to out, with \r \n \t \0 \\ and \xHH (exactly two
// hexadecimal digits) resolved; any other backslash is a bad escape, and then
// false is returned with bad filled (out may hold part of the text).
bool parse_escapes(std::string_view text, std::vector<std::uint8_t>& out, BadEscape& bad);
// Bad escape "\q" at character 5
std::string bad_escape_text(const BadEscape& bad);

// CRC-16 with the CCITT polynomial 0x1021, MSB first, from `crc`: 0xFFFF gives
// CRC-16/CCITT-FALSE, 0 the XMODEM block check.
std::uint16_t crc16_ccitt(const std::uint8_t* p, std::size_t n, std::uint16_t crc);

// The checksum choices, in the order of the window's list and of the saved index.
enum class Checksum : int { None, Sum8, Xor8, Crc8, Crc16Modbus, Crc16CcittFalse, Crc32 };
inline constexpr int checksum_count = 7;
// "None", "Sum8", ..., "CRC-32"; index outside 0..6 gives "None".
const char* checksum_caption(int kind);
// The checksum of data in its wire order (CRC-16/MODBUS and CRC-32 low byte
// first, CRC-16/CCITT-FALSE high byte first) into out; 0 to 4 bytes, count
// returned. An unknown kind is None.
int checksum_bytes(int kind, const std::uint8_t* data, std::size_t n, std::uint8_t out[4]);
// Upper-case hexadecimal pairs with one blank between: "C5 CD".
std::string hex_bytes_text(const std::uint8_t* data, int n);

struct StringSendOptions {
    bool escapes = false;
    int checksum = 0;  // a Checksum value
    std::uint8_t mark[2] = {};
    int mark_len = 0;  // 0, 1 or 2
    bool eos = false;  // one zero byte at the very end
};

// The whole buffer of one send into out (replaced). With escapes off and no
// checksum it is the text, the mark and the zero byte, as it always was.
// false on a bad escape (bad filled); allocation failure throws bad_alloc.
bool build_string_send(std::string_view text, const StringSendOptions& options, std::vector<std::uint8_t>& out,
                       BadEscape& bad);

// A fixed-rate schedule on the millisecond tick count: slot k falls due at
// start + k * period (k >= 1), however late each tick runs, so the rate holds
// on average. Wrap-safe over the 32-bit tick count.
class RepeatSchedule {
 public:
    void start(std::uint32_t now_ms, std::int32_t period_ms);
    // Slots due by now that were not yet taken. A window thread stalled for
    // more than a second makes up at most one second of slots (at least one);
    // the older ones are dropped rather than sent as a burst.
    std::int32_t take_due(std::uint32_t now_ms);
    // Milliseconds until the next slot, at least 1.
    std::int32_t wait_ms(std::uint32_t now_ms) const;
    std::int32_t period() const { return period_; }

 private:
    std::uint32_t next_ = 0;
    std::int32_t period_ = 1;
};
