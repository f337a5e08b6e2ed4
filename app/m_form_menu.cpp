// TMForm's keys: typing to the port, and F3 for Find.
#include "app/m_form.h"
#include "app/window_set.h"
#include "tx/keyboard_send.h"
#include "ui/services.h"
#include "views/text/text_commands.h"

void TMForm::FormKeyPress(char& key)
{
    send_typed(link, key, tools.BtnKeyboard.down(), ui::shift_down());
}

void TMForm::FormKeyDown(ui::KeyEvent& e)
{
    if (FindForm && FindForm->find_key(e, true)) e.handled = true;
}
