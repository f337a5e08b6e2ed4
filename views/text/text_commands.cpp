// The Text page's commands: clear, refresh, the line-break radio items, the
// invisible-symbol, word-wrap and auto-scroll check items, and the scroll to
// the end after a drain.
#include "views/text/text_commands.h"

#include "ui/form.h"
#include "ui/services.h"
#include "views/text/text_view_sink.h"

namespace {

// Starts the link's conversion afresh in the page's view.
void attach(TextPage& page)
{
    page.link.rx_text_attach(&page.sink);
    page.link.rx_text_line_break(line_break_from_menu(page));
}

// Converts what the store gained into the page's view.
void update(TextPage& page)
{
    page.link.rx_text_update(page.sink);
}

// Scrolls (posted, as EM_LINESCROLL) by more rows than any view holds, so the
// last row shows whatever wrapping did to the row count.
void scroll_down_by_lines(TextPage& page)
{
    page.Mtxt.post_scroll_lines(std::int64_t{1} << 40);
}

}  // namespace

int line_break_from_menu(TextPage& page)
{
    if (page.items.MMlnCR.checked()) return rx_lb_cr;
    if (page.items.MMlnLF.checked()) return rx_lb_lf;
    if (page.items.MMlnCRLF.checked()) return rx_lb_crlf;
    if (page.items.MMlnLFCR.checked()) return rx_lb_lfcr;
    return rx_lb_any;
}

int text_clear(TextPage& page, std::int32_t block_size)
{
    attach(page);
    return page.link.rx_store_init(block_size);
}

void text_scroll_to_end(TextPage& page)
{
    if (page.items.MMas.checked()) scroll_down_by_lines(page);
}

// The question before a rebuild of much data; true to go on.
static bool rebuild_allowed(TextPage& page)
{
    const RxStore* store = nullptr;
    page.link.rx_store_info(&store);
    if (!store || store->length < refresh_text_question_from) return true;
    const int answer = ui::message_box(
        "This operation could take serious amount of time for this much data.\n"
        "Would you like to continue?",
        "Warning", ui::MsgIcon::Question, ui::MsgButtons::YesNo, page.Mtxt.form());
    return answer == ui::mr::Yes;
}

// A check item that changes how the text is read: what is shown is converted
// again after the question; declined, the item changes back.
static bool rebuild_for(TextPage& page, ui::MenuItem& item, int (SerialLink::*choose)(bool))
{
    const bool on = item.checked();
    if (!rebuild_allowed(page)) {
        item.set_checked(!on);
        return false;
    }
    (page.link.*choose)(on);
    attach(page);
    update(page);
    if (page.items.MMas.checked()) scroll_down_by_lines(page);
    return true;
}

bool text_ansi_toggled(TextPage& page)
{
    return rebuild_for(page, page.items.MMansi, &SerialLink::rx_text_ansi);
}

bool text_utf8_toggled(TextPage& page)
{
    return rebuild_for(page, page.items.MMutf8, &SerialLink::rx_text_utf8);
}

bool text_refresh(TextPage& page)
{
    if (!rebuild_allowed(page)) return false;
    attach(page);
    update(page);
    if (page.items.MMas.checked()) scroll_down_by_lines(page);
    return true;
}

void text_line_break_chosen(TextPage& page)
{
    page.link.rx_text_line_break(line_break_from_menu(page));
}

void text_invisible_toggled(TextPage& page)
{
    // Code 0 is never a replacement, so only the display flag changes.
    page.link.rx_text_invisible(0, page.items.MMdis.checked());
}

void text_word_wrap_toggled(TextPage& page)
{
    page.Mtxt.set_word_wrap(page.items.MMwwrap.checked());
}

void text_auto_scroll_toggled(TextPage& page)
{
    if (page.items.MMas.checked()) scroll_down_by_lines(page);
}

void text_timestamps_toggled(const ui::MenuItem& item, SerialLink& link)
{
    link.rx_text_timestamps(item.checked());
}
