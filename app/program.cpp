// Program start and end, the same for the product and for headless runs.
#include "app/program.h"

#include <exception>

#include "app/command_line.h"
#include "app/m_form.h"
#include "app/window_set.h"
#include "settings/start_folder.h"
#include "ui/application.h"
#include "ui/services.h"

int olvex_run(PortDriver& driver, PortCatalogue& catalogue, const std::vector<std::string>& args)
{
    ui::Application& app = ui::app();
    try {
        const CommandLine line = parse_command_line(args);
        // Before any window: start folder + "\config.ini", or the file the command line names.
        settings_file_open(line.config_file);
        app.set_title("Olvex terminal");
        WindowSet windows(driver, catalogue);
        MForm->run_port = RunPortValues(line);
        // A refused argument is said once, over the main window; the program
        // runs as if it had not been given.
        if (std::string bad = command_line_error_text(line); !bad.empty())
            ui::post([bad = std::move(bad)] {
                ui::message_box(bad, command_line_error_caption, ui::MsgIcon::Warning, ui::MsgButtons::Ok, MForm);
            });
        app.run();
    } catch (const std::exception& e) {
        ui::message_box(e.what(), app.title(), ui::MsgIcon::Error);
        return 1;
    }
    return 0;
}
