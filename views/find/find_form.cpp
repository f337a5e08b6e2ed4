// TFindForm: layout, the buttons and keys, the status line and the FIND
// settings group.
#include "views/find/find_form.h"

#include <cstdio>

#include "settings/setting_values.h"

namespace {

constexpr std::string_view section = "FIND";
// What the status line says while a search runs.
constexpr const char* searching_text = "Searching...";
constexpr const char* counting_text = "Counting...";

std::string history_key(int n)
{
    char key[16];
    std::snprintf(key, sizeof key, "find_%02d", n);
    return key;
}

std::int32_t store_length(const SerialLink& link)
{
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    return store ? store->length : 0;
}

}  // namespace

std::string find_found_text(std::int32_t at, std::int64_t ordinal, std::int64_t total, bool wrapped, bool backwards)
{
    char text[96];
    int n = std::snprintf(text, sizeof text, "Found at 0x%08X", static_cast<unsigned>(at));
    if (ordinal > 0)
        n += std::snprintf(text + n, sizeof text - std::size_t(n), " (%lld of %lld)", static_cast<long long>(ordinal),
                           static_cast<long long>(total));
    if (wrapped)
        std::snprintf(text + n, sizeof text - std::size_t(n),
                      backwards ? ", wrapped to the end" : ", wrapped to the start");
    return text;
}

std::string find_count_text(std::int64_t total)
{
    return std::to_string(total) + " found";
}

TFindForm::TFindForm(const SerialLink& link) : ui::Form("FindForm"), link_(link)
{
    build_layout();
    BtnNext.on_click = [this] { BtnNextClick(); };
    BtnPrev.on_click = [this] { BtnPrevClick(); };
    BtnCount.on_click = [this] { BtnCountClick(); };
    BtnClose.on_click = [this] { BtnCloseClick(); };
    CBhex.on_click = [this] { CBhexClick(); };
    TimerFind.on_timer = [this] { TimerFindTimer(); };
    on_key_down = [this](ui::KeyEvent& e) { e.handled = find_key(e) || e.handled; };
    // Shown, typing replaces the kept pattern, as in any Windows find dialog.
    on_show = [this] {
        CBfind.set_focus();
        CBfind.select_all();
    };
    // Closed is hidden: the search it started is of no use any more, and its
    // progress text would otherwise greet the reopened window for good.
    on_hide = [this] {
        const bool cut_short = runner_.busy();
        runner_.cancel();
        TimerFind.set_enabled(false);
        const std::string& said = STstatus.caption();
        if (cut_short && (said == searching_text || said == counting_text)) STstatus.set_caption("");
    };
}

void TFindForm::build_layout()
{
    set_caption("Find");
    set_border_style(ui::BorderStyle::Sizeable);
    set_border_icons({.system_menu = true, .minimize = false, .maximize = false});
    set_form_style(ui::FormStyle::StayOnTop);
    set_position(ui::Position::MainFormCenter);
    set_key_preview(true);
    set_client_size(372, 124);
    set_min_window_size(380, 151);
    set_max_window_size(0, 151);
    ui::Font tahoma;
    tahoma.name = "Tahoma";
    set_font(tahoma);

    const ui::Anchors stretch{.left = true, .top = true, .right = true, .bottom = false};
    LFind.set_bounds(8, 12, 30, 14);
    CBfind.set_bounds(40, 8, 234, 21);
    CBfind.set_anchors(stretch);
    CBfind.set_drop_down_count(find_history_size);
    CBhex.set_bounds(40, 38, 90, 17);
    CBcase.set_bounds(140, 38, 100, 17);
    STstatus.set_bounds(8, 100, 266, 14);
    STstatus.set_anchors(stretch);

    const ui::Anchors right{.left = false, .top = true, .right = true, .bottom = false};
    int top = 8;
    for (ui::Button* b : {&BtnNext, &BtnPrev, &BtnCount, &BtnClose}) {
        b->set_bounds(284, top, 80, 23);
        b->set_anchors(right);
        top += 28;
    }
    BtnNext.set_default(true);
    BtnClose.set_cancel(true);
}

void TFindForm::BtnNextClick()
{
    search(FindKind::Next);
}

void TFindForm::BtnPrevClick()
{
    search(FindKind::Previous);
}

void TFindForm::BtnCountClick()
{
    search(FindKind::Count);
}

void TFindForm::BtnCloseClick()
{
    close();
}

void TFindForm::CBhexClick()
{
    // Bytes have no case.
    CBcase.set_enabled(!CBhex.checked());
}

bool TFindForm::find_key(const ui::KeyEvent& e, bool show)
{
    if (e.key != ui::keys::F3 || e.shift.ctrl || e.shift.alt) return false;
    if (show && !visible()) this->show();
    (e.shift.shift ? BtnPrev : BtnNext).click();
    return true;
}

void TFindForm::search(FindKind kind)
{
    PatternParse parsed = parse_find_pattern(CBfind.text(), CBhex.checked(), CBcase.checked());
    runner_.cancel();
    if (!parsed.pattern) {
        TimerFind.set_enabled(false);
        STstatus.set_caption(parsed.refusal);
        return;
    }
    remember(CBfind.text());
    kind_ = kind;
    wrapped_ = false;
    runner_.start(FindRequest{std::move(*parsed.pattern), kind, current_, store_length(link_)});
    STstatus.set_caption(kind == FindKind::Count ? counting_text : searching_text);
    TimerFind.set_enabled(true);
}

void TFindForm::remember(std::string text)
{
    const int found = CBfind.index_of(text);
    if (found == 0) return;
    if (found > 0) CBfind.delete_item(found);
    CBfind.insert_item(0, text);
    while (CBfind.count() > find_history_size) CBfind.delete_item(CBfind.count() - 1);
    CBfind.set_text(text);
}

void TFindForm::TimerFindTimer()
{
    while (std::optional<FindReport> r = runner_.poll()) apply(*r);
    if (!runner_.busy()) TimerFind.set_enabled(false);
}

void TFindForm::apply(const FindReport& r)
{
    const bool backwards = kind_ == FindKind::Previous;
    switch (r.kind) {
        case FindReport::Kind::Found:
            current_ = r.start;
            wrapped_ = r.wrapped;
            STstatus.set_caption(find_found_text(r.start, 0, 0, wrapped_, backwards));
            if (on_hit) on_hit(r.start, r.length);
            break;
        case FindReport::Kind::Placed:
            STstatus.set_caption(find_found_text(r.start, r.ordinal, r.total, wrapped_, backwards));
            break;
        case FindReport::Kind::NotFound:
            STstatus.set_caption("Not found");
            break;
        case FindReport::Kind::Counted:
            STstatus.set_caption(find_count_text(r.total));
            break;
        case FindReport::Kind::Failed:
            STstatus.set_caption("Not enough memory to search");
            break;
    }
}

void TFindForm::store_cleared()
{
    runner_.forget();
    TimerFind.set_enabled(false);
    current_ = -1;
    STstatus.set_caption("");
}

int LoadFindSettings(const ProfileFile* file, TFindForm& form)
{
    if (!file) return 1;
    form.CBfind.clear_items();
    for (int n = 0; n < find_history_size; ++n) {
        std::string s = read_setting_text(*file, section, history_key(n), "");
        if (!s.empty()) form.CBfind.add_item(std::move(s));
    }
    // The pattern and its boxes as they were, so F3 goes on where it stopped.
    form.CBfind.set_text(read_setting_text(*file, section, "find_text", ""));
    form.CBhex.set_checked(read_setting_boolean(*file, section, "find_hex", false));
    form.CBcase.set_checked(read_setting_boolean(*file, section, "find_case", false));
    form.CBhexClick();
    return 0;
}

int SaveFindSettings(ProfileFile* file, const TFindForm& form)
{
    if (!file) return 1;
    for (int i = 0; i < find_history_size; ++i) {
        if (i < form.CBfind.count())
            write_setting_text(*file, section, history_key(i), form.CBfind.items()[static_cast<std::size_t>(i)]);
        else
            file->remove_key(section, history_key(i));
    }
    write_setting_text(*file, section, "find_text", form.CBfind.text());
    write_setting_boolean(*file, section, "find_hex", form.CBhex.checked());
    write_setting_boolean(*file, section, "find_case", form.CBcase.checked());
    return 0;
}
