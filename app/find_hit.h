// A Find hit shown in both views at once: the HEX page's block and current
// cell, the Text page's selection, with "Follow new data" turned off so the
// hit stays in view while data keep arriving.
#pragma once

#include <cstdint>
#include <optional>

#include "ui/text_lines.h"
#include "app/follow_new_data.h"
#include "views/hex/hex_page.h"
#include "views/text/text_commands.h"
#include "views/text/text_view_sink.h"

struct TextRange {
    ui::TextPos from, to;
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// Where store bytes [start, end) show in the sink's view: their characters
// on one line, or every line they touch when they run across line ends.
// show_invisible: invisible bytes take a character each. Nothing when the
// view has no line for them yet.
std::optional<TextRange> text_range_of(const SerialLink& link, const TextViewSink& sink, std::int32_t start,
                                       std::int32_t end, bool show_invisible);

void show_find_hit(HexPage& hex, TextPage& text, FollowNewData& follow, std::int32_t start, std::int32_t length);
