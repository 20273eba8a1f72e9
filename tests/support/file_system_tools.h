#pragma once
#include "toolkit/text.h"

// Makes `directory` the current one for the guard's lifetime.
class CurrentDirectoryGuard {
public:
    explicit CurrentDirectoryGuard(const Text& directory);
    ~CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    Text saved_;
};

// A real directory symlink made with the Linux ln, removed again with rm
// (under Wine the platform's own calls neither make nor remove one).
// Made() is false where that is not possible, e.g. on Windows.
class DirectoryLink {
public:
    DirectoryLink(const Text& target, const Text& link);
    ~DirectoryLink();
    DirectoryLink(const DirectoryLink&) = delete;
    DirectoryLink& operator=(const DirectoryLink&) = delete;

    bool Made() const { return made_; }

private:
    Text link_, unixLink_;
    bool made_ = false;
};

// A file made by a Linux program, for names the platform's own calls can't
// make (a trailing dot or space); removed again the same way.
class LinuxFile {
public:
    LinuxFile(const Text& path, const Text& content);
    ~LinuxFile();
    LinuxFile(const LinuxFile&) = delete;
    LinuxFile& operator=(const LinuxFile&) = delete;

    bool Made() const { return made_; }
    // What the file holds now, read through a copy with an ordinary name.
    std::string Content() const;

private:
    Text path_, unixPath_;
    bool made_ = false;
};
