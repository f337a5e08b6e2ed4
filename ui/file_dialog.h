// Open and save file dialogs (OD1, SD1): filter, initial folder, chosen name.
// execute() shows the dialog modally; true when the user accepted a name,
// which is then in file_name(). Headless: the scripted user picks or cancels.
#pragma once

#include <string>

namespace ui {

class Form;

enum class FileDialogKind : std::uint8_t { Open, Save };

class FileDialog {
 public:
    FileDialog(std::string name, FileDialogKind kind) : name_(std::move(name)), kind_(kind) {}

    const std::string& name() const { return name_; }
    FileDialogKind kind() const { return kind_; }
    // "Text file (*.txt)|*.txt|All files (*.*)|*.*": description|pattern pairs.
    std::string filter;
    int filter_index = 1;  // 1-based, as the system counts
    std::string initial_dir;
    std::string file_name;          // in: proposed name; out: the full chosen path
    std::string default_ext;        // without the dot; empty = none added
    std::string title;              // empty = the system's
    bool overwrite_prompt = false;  // save: ask before replacing a file
    bool file_must_exist = false;   // open: refuse names of missing files

    // owner: the form the dialog is modal to (nullptr: the active form).
    bool execute(Form* owner = nullptr);

 private:
    std::string name_;
    FileDialogKind kind_;
};

class OpenDialog : public FileDialog {
 public:
    explicit OpenDialog(std::string name) : FileDialog(std::move(name), FileDialogKind::Open)
    {
        file_must_exist = true;
    }
};

class SaveDialog : public FileDialog {
 public:
    explicit SaveDialog(std::string name) : FileDialog(std::move(name), FileDialogKind::Save) {}
};

// The pages' CSV exports ask alike: a .csv by default, and before overwriting.
inline void set_up_csv_save(SaveDialog& d)
{
    d.filter = "CSV file (*.csv)|*.csv|All files (*.*)|*.*";
    d.default_ext = "csv";
    d.title = "Save As";
    d.overwrite_prompt = true;
}

}  // namespace ui
