// "Help" > "Help" (the manual the settings name, opened by the shell) and
// "Help" > "About".
#pragma once

#include <string>

#include "ui/form.h"

class HelpCommands {
 public:
    explicit HelpCommands(ui::Form& owner) : owner_(owner) {}

    void MMhelpClick();
    void MMaboutClick();

    // The manual's path, from the settings file; empty or missing: F1 does nothing.
    const std::string& help_path() const { return path_; }
    void set_help_path(std::string path) { path_ = std::move(path); }

 private:
    ui::Form& owner_;
    std::string path_;
};
