// The files a transfer reads and writes: the sender's file, and the received
// file written as NAME.part while it arrives and renamed to NAME once whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tx/transfer/xfer_engine.h"

class XferFileSource : public XferSource {
 public:
    // 0 or the system error code; the file's name is the path's last part.
    int open(const std::string& path);
    std::string name() const override { return name_; }
    std::int64_t size() const override { return size_; }
    bool read(std::uint8_t* dst, std::size_t n, std::size_t* got, std::string& why) override;

 private:
    FileReader file_;
    std::string name_;
    std::int64_t size_ = 0;
};

class XferFileSink : public XferSink {
 public:
    // XMODEM: into the chosen file. ask_overwrite is not used.
    explicit XferFileSink(std::string file_path);
    // YMODEM: into `folder`, under the names the sender gives, made safe;
    // ask_overwrite(path) says whether an existing file may be replaced.
    XferFileSink(std::string folder, std::function<bool(const std::string&)> ask_overwrite);

    bool begin(const std::string& name, std::int64_t size, std::string& why) override;
    bool write(const std::uint8_t* data, std::size_t n, std::string& why) override;
    void end(bool complete) override;

    // What the user should know besides the engine's message: names reduced,
    // files kept as .part; one sentence each.
    const std::vector<std::string>& notes() const { return notes_; }
    // The files completed, full paths.
    const std::vector<std::string>& saved() const { return saved_; }

 private:
    std::string file_path_;
    std::string folder_;
    std::function<bool(const std::string&)> ask_overwrite_;
    FileWriter out_;
    std::string target_;  // the file under way, without ".part"
    std::vector<std::string> notes_;
    std::vector<std::string> saved_;
};
