// The transfer's files on disk.
#include "tx/transfer/xfer_files.h"

#include "tx/transfer/xfer_safe_name.h"

int XferFileSource::open(const std::string& path)
{
    if (const int error = file_.open(path); error != 0) return error;
    const std::size_t cut = path.find_last_of("\\/");
    name_ = cut == std::string::npos ? path : path.substr(cut + 1);
    size_ = file_.size();
    return 0;
}

bool XferFileSource::read(std::uint8_t* dst, std::size_t n, std::size_t* got, std::string& why)
{
    *got = 0;
    if (const int error = file_.read(dst, n, got); error != 0) {
        why = "The file could not be read: " + file_error_text(error);
        return false;
    }
    return true;
}

XferFileSink::XferFileSink(std::string file_path) : file_path_(std::move(file_path)) {}

XferFileSink::XferFileSink(std::string folder, std::function<bool(const std::string&)> ask_overwrite)
    : folder_(std::move(folder)), ask_overwrite_(std::move(ask_overwrite))
{
}

bool XferFileSink::begin(const std::string& name, std::int64_t, std::string& why)
{
    if (folder_.empty()) {
        target_ = file_path_;
    } else {
        std::string note;
        const std::string safe = xfer_safe_name(name, &note);
        if (!note.empty()) notes_.push_back(note);
        if (safe.empty()) {
            why = note.empty() ? "The sender's name \"" + name + "\" was refused." : note;
            return false;
        }
        target_ = folder_ + (folder_.back() == '\\' || folder_.back() == '/' ? "" : "\\") + safe;
        if (file_exists(target_) && !(ask_overwrite_ && ask_overwrite_(target_))) {
            why = target_ + " exists and was not overwritten.";
            target_.clear();
            return false;
        }
    }
    if (const int error = out_.open(target_ + ".part"); error != 0) {
        why = "Cannot write " + target_ + ".part: " + file_error_text(error);
        target_.clear();
        return false;
    }
    return true;
}

bool XferFileSink::write(const std::uint8_t* data, std::size_t n, std::string& why)
{
    if (const int error = out_.write(data, n); error != 0) {
        why = "Cannot write " + target_ + ".part: " + file_error_text(error);
        return false;
    }
    return true;
}

void XferFileSink::end(bool complete)
{
    if (target_.empty()) return;
    const int closed = out_.close();
    const std::string part = target_ + ".part";
    if (complete && closed == 0) {
        if (const int error = rename_file(part, target_); error == 0) {
            saved_.push_back(target_);
        } else {
            notes_.push_back("The file is kept as " + part + ": " + file_error_text(error));
        }
    } else {
        notes_.push_back("What was received is kept as " + part + ".");
    }
    target_.clear();
}
