// Program start and end, the same for the product and for headless runs.
#include "app/program.h"

#include <exception>

#include "app/window_set.h"
#include "settings/start_folder.h"
#include "ui/application.h"
#include "ui/services.h"

int olvex_run(PortDriver& driver)
{
    ui::Application& app = ui::app();
    try {
        settings_file_open();  // current directory + "\config.ini", before any window
        app.set_title("Olvex terminal");
        WindowSet windows(driver);
        app.run();
    } catch (const std::exception& e) {
        ui::message_box(e.what(), app.title(), ui::MsgIcon::Error);
        return 1;
    }
    return 0;
}
