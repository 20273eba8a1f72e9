#pragma once
#include "toolkit/text.h"

// A fresh folder under the temporary directory, removed with all it holds.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, without trailing backslash.
    const Text& Path() const { return path_; }
    // Path of `relative` inside the folder.
    Text operator/(const Text& relative) const { return path_ + "\\" + relative; }

    // Creates a file (and its missing folders) holding `content`.
    void MakeFile(const Text& relative, const std::string& content = "") const;
    void MakeDirectory(const Text& relative) const;

private:
    Text path_;
};

bool FileExists(const Text& path);
bool DirectoryExists(const Text& path);
std::string ReadFileBytes(const Text& path);
// Every file under `directory`, relative to it, sorted: for before/after comparisons.
std::vector<Text> ListTree(const Text& directory);
