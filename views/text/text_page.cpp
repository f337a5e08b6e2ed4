// The Text page's view set-up and item handlers.
#include "views/text/text_page.h"

#include "views/text/text_commands.h"

TextPage::TextPage(ui::TabSheet& sheet, SerialLink& link, const Items& items)
    : Mtxt(&sheet, "Mtxt"), items(items), link(link)
{
    Mtxt.set_align(ui::Align::Client);
    Mtxt.set_font(ui::Font::monospace());
    Mtxt.set_double_buffered(true);
    Mtxt.set_word_wrap(false);
}

void TextPage::MMwwrapClick()
{
    text_word_wrap_toggled(*this);
}
void TextPage::MMasClick()
{
    text_auto_scroll_toggled(*this);
}
void TextPage::MMdisClick()
{
    text_invisible_toggled(*this);
}
void TextPage::MMlnClick()
{
    text_line_break_chosen(*this);
}
void TextPage::MMansiClick()
{
    text_ansi_toggled(*this);
}
void TextPage::MMutf8Click()
{
    text_utf8_toggled(*this);
}
void TextPage::MMtxtRfClick()
{
    text_refresh(*this);
}

int TextPage::line_break_mode()
{
    return line_break_from_menu(*this);
}
