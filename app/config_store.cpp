#include "app/config_store.h"

#include <windows.h>
// The hashing header needs the base types declared first.
#include <bcrypt.h>

#include <algorithm>
#include <array>
#include <vector>

#include "toolkit/handle.h"
#include "toolkit/paths.h"

Text ConfigDirectory;
Text ConfigFile;
Text BuildDigest;

namespace {

constexpr char kConfigSubdirectory[] = "\\korvex\\soft\\";
constexpr char kMarkerKey[] = "作者";
constexpr char kMarkerValue[] = "Velmi";
constexpr DWORD kSettingBufferSize = 10240;

struct AlgorithmTraits {
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashTraits {
    using Type = BCRYPT_HASH_HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::BCryptDestroyHash(h); }
};
using Algorithm = UniqueHandle<AlgorithmTraits>;
using Hash = UniqueHandle<HashTraits>;

constexpr size_t kMd5Size = 16;

// The raw digest; all zero bytes only if the platform refuses to hash.
std::array<unsigned char, kMd5Size> Md5(const std::string& bytes) {
    std::array<unsigned char, kMd5Size> digest{};
    BCRYPT_ALG_HANDLE algorithmValue = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithmValue, BCRYPT_MD5_ALGORITHM, nullptr, 0))) return digest;
    const Algorithm algorithm(algorithmValue);
    BCRYPT_HASH_HANDLE hashValue = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm.get(), &hashValue, nullptr, 0, nullptr, 0, 0))) return digest;
    const Hash hash(hashValue);
    // BCryptHashData takes a ULONG length: feed large inputs in pieces.
    constexpr size_t kPiece = 1u << 30;
    for (size_t offset = 0; offset < bytes.size(); offset += kPiece) {
        const size_t length = std::min(kPiece, bytes.size() - offset);
        auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data() + offset));
        if (!BCRYPT_SUCCESS(BCryptHashData(hash.get(), data, static_cast<ULONG>(length), 0))) return digest;
    }
    BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0);
    return digest;
}

// The whole file, or nothing when it can't be read completely.
std::string ReadWholeFile(const Text& fileName) {
    const HANDLE opened =
        CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return {};
    const KernelHandle file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, wanted, &read, nullptr) || read == 0) return {};
        done += read;
    }
    return bytes;
}

// The folder without its trailing backslashes; a 0x5C byte that ends a
// double-byte character is part of the name, not a separator.
Text WithoutTrailingBackslashes(const Text& folder) {
    size_t keep = 0;
    for (size_t position = 0; position < folder.size();) {
        const size_t length = CharacterLength(folder, position);
        if (length > 1 || folder[position] != '\\') keep = position + length;
        position += length;
    }
    return folder.substr(0, keep);
}

// The text from its first byte above 0x20 on.
const char* SkipLeadingBlanks(const Text& text) {
    size_t position = 0;
    while (position < text.size() && static_cast<unsigned char>(text[position]) <= 0x20) ++position;
    return text.c_str() + position;
}

void ReleaseText(Text& text) { Text().swap(text); }

}  // namespace

Text Md5Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    Text hex;
    hex.reserve(2 * kMd5Size);
    for (const unsigned char byte : Md5(bytes)) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

void BuildConfigStore(const Text& documentsFolder, const Text& executableFileName) {
    ConfigDirectory = WithoutTrailingBackslashes(documentsFolder) + kConfigSubdirectory;
    BuildDigest = Md5Hex(ReadWholeFile(executableFileName));
    CreateDirectoryPath(ConfigDirectory);
    ConfigFile = ConfigDirectory + GetFileName(executableFileName, false) + ".ini";
    WriteSetting(kMarkerKey, kMarkerValue);
}

void ReleaseConfigStore() {
    ReleaseText(ConfigFile);
    ReleaseText(BuildDigest);
    ReleaseText(ConfigDirectory);
}

Text ReadSetting(const Text& key) {
    const char* const file = SkipLeadingBlanks(ConfigFile);
    const char* const section = SkipLeadingBlanks(BuildDigest);
    const char* const name = SkipLeadingBlanks(key);
    if (!*file || !*section || !*name) return {};
    std::vector<char> buffer(kSettingBufferSize, '\0');
    GetPrivateProfileStringA(section, name, "", buffer.data(), kSettingBufferSize, file);
    buffer.back() = '\0';
    return Text(buffer.data());
}

void WriteSetting(const Text& key, const Text& value) {
    // Before the store is built (or after it is released) there is no file:
    // an empty name would send the profile call to a file of the Windows
    // directory instead.
    if (ConfigFile.empty() || BuildDigest.empty()) return;
    WritePrivateProfileStringA(BuildDigest.c_str(), key.c_str(), value.c_str(), ConfigFile.c_str());
}
