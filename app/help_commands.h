// "Help" > "Help" (the manual the settings name, else the one shipped beside
// the program, opened by the shell) and "Help" > "About".
#pragma once

#include <string>

#include "ui/form.h"

class HelpCommands {
 public:
    // shipped_manual: the manual that stands beside the program.
    HelpCommands(ui::Form& owner, std::string shipped_manual)
        : owner_(owner), shipped_manual_(std::move(shipped_manual))
    {
    }

    // Opens the HELP key's file when it exists, else the shipped manual, else
    // says that no help file was found.
    void MMhelpClick();
    void MMaboutClick();

    // The manual's path, from the settings file.
    const std::string& help_path() const { return path_; }
    void set_help_path(std::string path) { path_ = std::move(path); }

 private:
    ui::Form& owner_;
    std::string shipped_manual_;
    std::string path_;
};
