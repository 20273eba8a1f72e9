#pragma once
#include "toolkit/text.h"

// Process-wide configuration values, filled at start-up, released at exit.
extern Text ConfigDirectory;
extern Text ConfigFile;
extern Text BuildDigest;

// MD5 of `bytes` as 32 lowercase hexadecimal digits.
Text Md5Hex(const std::string& bytes);

// Builds the store: ConfigDirectory under `documentsFolder`, the digest of the
// file `executableFileName`, the directory, ConfigFile and the marker key.
void BuildConfigStore(const Text& documentsFolder, const Text& executableFileName);
void ReleaseConfigStore();

Text ReadSetting(const Text& key);
void WriteSetting(const Text& key, const Text& value);
