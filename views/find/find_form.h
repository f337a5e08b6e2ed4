// The Find window TFindForm: a pattern with its history, text or hex bytes,
// and the searches through everything received, run away from the window
// thread and polled for on a timer. Where a hit shows is the main window's
// business, handed in as on_hit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/profile_file.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/timer.h"
#include "views/find/find_runner.h"
#include "views/find/rx_store_source.h"

// Patterns the history keeps, and the settings file with it (find_00 .. find_09).
inline constexpr int find_history_size = 10;
// How often a running search is asked what it found.
inline constexpr int find_poll_ms = 20;

class TFindForm : public ui::Form {
 public:
    explicit TFindForm(const SerialLink& link);

    ui::Label LFind{this, "LFind", "Find:"};
    ui::ComboBox CBfind{this, "CBfind", ui::ComboStyle::DropDown};
    ui::CheckBox CBhex{this, "CBhex", "Hex bytes"};
    ui::CheckBox CBcase{this, "CBcase", "Match case"};
    ui::Button BtnNext{this, "BtnNext", "Find next"};
    ui::Button BtnPrev{this, "BtnPrev", "Find previous"};
    ui::Button BtnCount{this, "BtnCount", "Count"};
    ui::Button BtnClose{this, "BtnClose", "Close"};
    ui::Label STstatus{this, "STstatus"};
    ui::Timer TimerFind{"TimerFind", find_poll_ms, false};

    // A hit to show: its first store position and its length.
    std::function<void(std::int32_t start, std::int32_t length)> on_hit;

    void BtnNextClick();
    void BtnPrevClick();
    void BtnCountClick();
    void BtnCloseClick();
    void CBhexClick();
    void TimerFindTimer();
    // F3 and Shift+F3, here and in the main window; true when the key was one.
    // show: a hidden window shows first, to say what the search found.
    bool find_key(const ui::KeyEvent& e, bool show = false);
    // "Clear rx data" (or the end): the search stops and the hit is forgotten.
    void store_cleared();

    bool searching() const { return runner_.busy(); }
    // Start of the hit shown last; -1 none.
    std::int32_t current_hit() const { return current_; }

 private:
    void build_layout();
    void search(FindKind kind);
    void remember(std::string text);
    void apply(const FindReport& r);

    const SerialLink& link_;
    RxStoreSource source_{link_};
    FindRunner runner_{source_};
    std::int32_t current_ = -1;
    FindKind kind_ = FindKind::Next;
    bool wrapped_ = false;
};

// The status line's texts.
// "Found at 0x0012D687", then " (1 of 3)" once counted (ordinal 0: not yet),
// and a note when the search went past the end (or, backwards, the start).
std::string find_found_text(std::int32_t at, std::int64_t ordinal, std::int64_t total, bool wrapped, bool backwards);
std::string find_count_text(std::int64_t total);  // "3 found"

// The FIND section: the history. Load and save return 1 without a settings
// file, else 0; a refused write throws.
int LoadFindSettings(const ProfileFile* file, TFindForm& form);
int SaveFindSettings(ProfileFile* file, const TFindForm& form);
