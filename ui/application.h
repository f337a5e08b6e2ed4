// The application object: title, the forms in creation order (the first is the
// main form), the message loop, posted actions and the error handler that
// shows an escaped exception's message.
#pragma once

#include <deque>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Form;

// A broken program or test script (a modal dialog that can never close, an
// unscripted message box in a headless test). The error handler does not
// swallow it: it leaves guard() and ends the run.
class ProgramError : public std::logic_error {
 public:
    using std::logic_error::logic_error;
};

class Application {
 public:
    static Application& instance();

    const std::string& title() const { return title_; }
    void set_title(std::string t) { title_ = std::move(t); }

    // The first form created (while it lives); closing it ends the application.
    Form* main_form() const { return forms_.empty() ? nullptr : forms_.front(); }
    const std::vector<Form*>& forms() const { return forms_; }
    Form* find_form(std::string_view name) const;

    // Shows the main form and runs the message loop until terminate().
    void run();
    void terminate();
    bool terminated() const { return terminated_; }
    // Clears terminated() (a test runs several applications in one process).
    void reset_terminated() { terminated_ = false; }

    // Queues an action to run after the current handler, from the loop, in
    // posting order (PostMessage semantics: BM_CLICK, EM_LINESCROLL).
    void post(std::function<void()> action);
    // Runs the actions queued so far (and those they post) in order; returns
    // how many ran. The loop calls this; so do headless tests.
    int run_posted();
    bool has_posted() const { return !posted_.empty(); }
    // Drops what is queued without running it (a headless test starting afresh).
    void discard_posted() { posted_.clear(); }

    // Shows an exception that escaped a handler: a message box with the
    // application title and the exception's message. on_exception replaces it.
    std::function<void(const std::exception&)> on_exception;
    void handle_exception(std::exception_ptr e);
    // Calls action, passing any escaping exception to handle_exception (except
    // ProgramError, which propagates). Backends wrap every event dispatch in this.
    void guard(const std::function<void()>& action);

    // Devices came, went or changed (the system's WM_DEVICECHANGE to the
    // top-level windows): the backend calls devices_changed(), which fires
    // on_devices_changed. Headless tests call it where the system would.
    std::function<void()> on_devices_changed;
    void devices_changed()
    {
        if (on_devices_changed) on_devices_changed();
    }

 private:
    friend class Form;
    Application() = default;
    void add_form(Form* f) { forms_.push_back(f); }
    void remove_form(Form* f);

    std::string title_;
    std::vector<Form*> forms_;
    std::deque<std::function<void()>> posted_;
    bool terminated_ = false;
};

inline Application& app()
{
    return Application::instance();
}

}  // namespace ui
