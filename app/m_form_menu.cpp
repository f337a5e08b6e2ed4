// TMForm's keys and the capture item: typing to the port, F3 for Find, and
// the status bar's part of starting or ending a capture.
#include "app/m_form.h"
#include "app/window_set.h"
#include "tx/keyboard_send.h"
#include "ui/services.h"
#include "views/text_commands.h"

void TMForm::FormKeyPress(char& key)
{
    send_typed(link, key, tools.BtnKeyboard.down(), ui::shift_down());
}

void TMForm::FormKeyDown(ui::KeyEvent& e)
{
    if (FindForm && FindForm->find_key(e, true)) e.handled = true;
}

void TMForm::MMcaptureClick()
{
    capture.clicked(link.connected());
    rx_panel.refresh();  // the status bar shows the change at once
}
