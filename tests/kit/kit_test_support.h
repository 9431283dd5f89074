// kit_test_support.h - what the kit's unit tests share: texts from standard
// strings, captured standard output, scratch directories, child processes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "io.h"
#include "text.h"

std::string ToStd(const Text& text);

// Cut at 255 characters, as storing into a text cuts.
Text FromStd(const std::string& bytes);

// Everything written to file descriptor 1 while it lives; the output stream
// is put back as it was, even when a test closed it.
class CapturedOutput {
public:
    CapturedOutput();
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Restores standard output and returns what reached it.
    std::string Finish();

private:
    int savedOutput_;
    int captureFile_;
    TextFile savedStream_;
    bool finished_ = false;
};

// A fresh directory, removed with all it holds.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "/" + name; }

    // Writes a file of exactly these bytes and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

struct ChildResult {
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
    std::string standardOutput;
    std::string standardError;
};

// Runs body in a forked child whose standard output and error are pipes;
// the child ends with body's result, and is killed if it takes more than a
// few seconds.
ChildResult RunInChild(const std::function<int()>& body);
