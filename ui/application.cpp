// Application: form registry, posted actions and the error handler.
#include "ui/application.h"

#include <algorithm>

#include "ui/backend.h"
#include "ui/form.h"
#include "ui/services.h"

namespace ui {

Application& Application::instance()
{
    static Application a;
    return a;
}

Form* Application::find_form(std::string_view name) const
{
    for (Form* f : forms_)
        if (f->name() == name) return f;
    return nullptr;
}

void Application::remove_form(Form* f)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
}

void Application::run()
{
    terminated_ = false;
    if (Form* m = main_form()) guard([m] { m->show(); });
    if (!terminated_) backend::run_loop();
}

void Application::terminate()
{
    terminated_ = true;
}

void Application::post(std::function<void()> action)
{
    posted_.push_back(std::move(action));
    backend::wake();
}

int Application::run_posted()
{
    int n = 0;
    while (!posted_.empty()) {
        auto action = std::move(posted_.front());
        posted_.pop_front();
        guard(action);
        ++n;
    }
    return n;
}

void Application::handle_exception(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        if (on_exception)
            on_exception(ex);
        else
            message_box(ex.what(), title_, MsgIcon::Error);
    } catch (...) {
        if (on_exception)
            on_exception(std::runtime_error("Unknown error"));
        else
            message_box("Unknown error", title_, MsgIcon::Error);
    }
}

void Application::guard(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ProgramError&) {
        throw;
    } catch (...) {
        handle_exception(std::current_exception());
    }
}

}  // namespace ui
