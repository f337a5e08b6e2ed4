// F1's choice of file: the HELP setting's file, else the manual shipped beside
// the program, else a message naming what was looked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/help_commands.h"
#include "ui/headless/user.h"

namespace {

namespace fs = std::filesystem;

TEST(HelpCommandsTest, OpensTheFirstFileThatExistsOrSaysNoneWasFound)
{
    const fs::path dir = fs::temp_directory_path() / "olvex_help_test";
    fs::create_directories(dir);
    const std::string setting = (dir / "own.html").string(), shipped = (dir / "olvex-help.html").string();
    struct Case {
        const char* help_key;  // "set" names `setting`
        bool setting_exists, shipped_exists;
        std::string opened, message;
    } cases[] = {
        {"set", true, true, setting, ""},
        {"set", false, true, shipped, ""},
        {"", false, true, shipped, ""},
        {"", false, false, "", "No help file was found: \"" + shipped + "\" does not exist."},
        {"set", false, false, "",
         "No help file was found: neither \"" + setting + "\" (the HELP setting) nor \"" + shipped + "\" exists."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened + c.message);
        ui::headless::User user;
        ui::Form owner{"MForm"};
        fs::remove(setting);
        fs::remove(shipped);
        if (c.setting_exists) std::ofstream(setting) << "own";
        if (c.shipped_exists) std::ofstream(shipped) << "manual";
        HelpCommands help(owner, shipped);
        help.set_help_path(*c.help_key ? setting : "");
        user.answer_message_box(ui::mr::Ok);
        help.MMhelpClick();
        const auto& opens = user.world().shell_opens;
        const auto& boxes = user.world().message_boxes;
        if (c.opened.empty()) {
            EXPECT_TRUE(opens.empty());
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, c.message);
            EXPECT_EQ(boxes[0].caption, "Error");
        } else {
            ASSERT_EQ(opens.size(), 1u);
            EXPECT_EQ(opens[0], c.opened);
            EXPECT_TRUE(boxes.empty());
        }
    }
    fs::remove_all(dir);
}

}  // namespace
