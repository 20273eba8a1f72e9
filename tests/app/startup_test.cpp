// The program started as the user starts it: a clean documents folder, the
// window closed again, the configuration left behind.
#include <gtest/gtest.h>
#include <windows.h>
// These need the base types declared first.
#include <shlobj.h>
#include <wincrypt.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace {

// MD5 through the older CryptoAPI, independent of the program's own hashing.
std::string CryptoApiMd5Hex(const std::string& bytes) {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) return "no provider";
    std::string hex;
    HCRYPTHASH hash = 0;
    if (CryptCreateHash(provider, CALG_MD5, 0, 0, &hash)) {
        BYTE digest[16] = {};
        DWORD length = sizeof(digest);
        if (CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0) &&
            CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0)) {
            static constexpr char kDigits[] = "0123456789abcdef";
            for (DWORD i = 0; i < length; ++i) hex += {kDigits[digest[i] >> 4], kDigits[digest[i] & 15]};
        }
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(provider, 0);
    return hex;
}

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.rfind('\\') + 1) + "Sorvane.exe";
}

// The program's top-level window "Sorvane", waiting on the process while it starts.
HWND WaitForProgramWindow(const PROCESS_INFORMATION& process) {
    WaitForInputIdle(process.hProcess, 10000);
    for (int attempt = 0; attempt < 600; ++attempt) {  // up to 30 s on a loaded machine
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, nullptr, "Sorvane")) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process.dwProcessId) return window;
        }
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) return nullptr;  // it ended instead
    }
    return nullptr;
}

std::string DocumentsFolder() {
    char documents[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE);
    return documents;
}

// Starts the program in `workingDirectory`, closes its window, returns its exit code (99: it hung or never showed).
DWORD RunOnceAndClose(const std::string& program, const std::string& workingDirectory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.c_str(), &startup, &process))
        return 99;
    const HWND window = WaitForProgramWindow(process);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0 && window)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

void ExpectOnlyTheMarkerSection(const std::string& file, const std::string& digest) {
    ASSERT_TRUE(FileExists(file)) << file;
    char sections[1024] = {};
    const DWORD length = GetPrivateProfileSectionNamesA(sections, sizeof(sections), file.c_str());
    EXPECT_EQ(std::string(sections, length), digest + '\0');
    char value[64] = {};
    GetPrivateProfileStringA(digest.c_str(), "作者", "", value, sizeof(value), file.c_str());
    EXPECT_STREQ(value, "Velmi");
}

struct StartCase {
    const char* name;
    bool copy;  // run a renamed copy from a temporary folder instead of the built program
    const char* iniName;
};
void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }

class StartupTest : public testing::TestWithParam<StartCase> {};

// Started from another working directory, so the program must find its own file itself.
TEST_P(StartupTest, FirstStartWritesTheMarkerIntoTheSectionOfTheProgramsDigest) {
    const std::string built = ProgramPath();
    ASSERT_TRUE(FileExists(built)) << built;
    TempDir folder;
    std::string program = built;
    if (GetParam().copy) {
        program = folder / "工具.exe";
        ASSERT_TRUE(CopyFileA(built.c_str(), program.c_str(), TRUE));
    }
    folder.MakeDirectory("elsewhere");
    const std::string directory = DocumentsFolder() + "\\korvex\\soft\\";
    const std::string file = directory + GetParam().iniName;
    DeleteFileA(file.c_str());
    ASSERT_FALSE(FileExists(file));

    EXPECT_EQ(RunOnceAndClose(program, folder / "elsewhere"), 0u);

    EXPECT_TRUE(DirectoryExists(directory));
    const std::string digest = CryptoApiMd5Hex(ReadFileBytes(built));
    ASSERT_EQ(digest.size(), 32u);
    ExpectOnlyTheMarkerSection(file, digest);
    DeleteFileA(file.c_str());
}

INSTANTIATE_TEST_SUITE_P(Programs, StartupTest,
                         testing::Values(StartCase{"built program", false, "Sorvane.ini"},
                                         StartCase{"renamed copy", true, "工具.ini"}));

}  // namespace
