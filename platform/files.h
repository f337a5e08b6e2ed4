// The file services the windows need: existence, the folder of a path, and
// files written from the start or read whole with nobody else writing them.
// Every call reports a system error code (0 for success); file_error_text
// turns one into the system's own words at the window that shows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// True when a file (not a folder) exists at `path`; a path in Windows form
// (backslashes) is understood by the native build too.
bool file_exists(const std::string& path);

// The folder part of a path, without its last separator ("C:\a\b.txt" gives
// "C:\a"); empty when the path names no folder.
std::string folder_of(const std::string& path);

// The path of a file named `name` in the running program's own folder
// (GetModuleFileNameA's folder), where what ships beside olvex.exe stands.
std::string program_file(const std::string& name);

// Gives the file at `from` the path `to`, replacing a file there; 0 or the
// system error code.
int rename_file(const std::string& from, const std::string& to);

// The system's text for an error code, without a trailing line break.
std::string file_error_text(int code);

// A file created (or truncated) for writing. Closed by its destructor;
// close() reports whether the last writes reached the file.
class FileWriter {
 public:
    FileWriter();
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Creates or truncates `path`; append = true keeps what it holds and writes
    // after it. Returns 0 or the system error code.
    int open(const std::string& path, bool append = false);
    // Writes all n bytes (in as many calls as the system needs); 0 or an error.
    int write(const void* data, std::size_t n);
    // Hands what was written to the device (FlushFileBuffers / fsync).
    int flush();
    int close();
    bool is_open() const;

 private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A file opened for reading that no one else may write while it is open.
class FileReader {
 public:
    FileReader();
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    int open(const std::string& path);
    // The file's size in bytes now; -1 when it cannot be read.
    std::int64_t size() const;
    // Reads up to n bytes into data; *got is how many came (0 at the end).
    int read(void* data, std::size_t n, std::size_t* got);
    void close();
    bool is_open() const;

 private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
