// The Text page's commands ("Rx" > "Text"): they act on the text view and the
// menu items that govern it.
#pragma once

#include <cstdint>

#include "link/serial_link.h"
#include "ui/menu.h"
#include "ui/text_view.h"
#include "views/text/text_page.h"

// The store length from which "Refresh text" asks before rebuilding.
constexpr std::int32_t refresh_text_question_from = 524288;

// 0 CR, 1 LF, 2 CR+LF, 3 LF+CR, else 4 (CR or LF), read from the radio items.
int line_break_from_menu(TextPage& page);

// "Clear rx data", text and store half: empties the view, re-creates the store
// with the given block size and re-applies the line-break mode. Returns
// rx_store_init's result.
int text_clear(TextPage& page, std::int32_t block_size);
// What a drain's auto-scroll does: with auto-scroll on, posts the scroll to
// the end.
void text_scroll_to_end(TextPage& page);
// "Refresh text": false when the user declined the question.
bool text_refresh(TextPage& page);
// "ANSI colours": what is shown is converted again under the new choice,
// after the question "Refresh text" asks; declined, the item changes back.
bool text_ansi_toggled(TextPage& page);
// "UTF-8": the same, with bytes read as UTF-8 or one character each.
bool text_utf8_toggled(TextPage& page);
// The check items and radio group; each runs after the item changed its mark.
void text_line_break_chosen(TextPage& page);
void text_invisible_toggled(TextPage& page);
void text_word_wrap_toggled(TextPage& page);
void text_auto_scroll_toggled(TextPage& page);
// "Timestamps": new lines start with the time their first byte was drained.
void text_timestamps_toggled(const ui::MenuItem& item, SerialLink& link);
