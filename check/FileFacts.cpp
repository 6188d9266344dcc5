#include "check/FileFacts.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "check/FileHandle.h"
#include "check/SystemFunctions.h"
#include "text/WideText.h"

namespace {

struct AlgorithmCloser {
    const SystemFunctions* system;
    void operator()(BCRYPT_ALG_HANDLE handle) const {
        system->BCryptCloseAlgorithmProvider(handle, 0);
    }
};
struct HashDestroyer {
    const SystemFunctions* system;
    void operator()(BCRYPT_HASH_HANDLE handle) const { system->BCryptDestroyHash(handle); }
};

std::optional<std::u16string> FileVersion(const SystemFunctions& system, const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = system.GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> block(size);
    if (!system.GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!system.VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        length < sizeof *info)
        return std::nullopt;
    wchar_t text[64];
    std::swprintf(text, 64, L"%u.%u.%u.%u", HIWORD(info->dwFileVersionMS),
                  LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                  LOWORD(info->dwFileVersionLS));
    return fromWide(text);
}

// SHA-256 of the whole file through the system's own cryptography provider.
std::optional<std::string> Sha256(const SystemFunctions& system, HANDLE file) {
    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (system.BCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0)
        return std::nullopt;
    const std::unique_ptr<void, AlgorithmCloser> algorithm(rawAlgorithm, {&system});
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (system.BCryptCreateHash(rawAlgorithm, &rawHash, nullptr, 0, nullptr, 0, 0) != 0)
        return std::nullopt;
    const std::unique_ptr<void, HashDestroyer> hash(rawHash, {&system});

    std::vector<unsigned char> chunk(1 << 16);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr))
            return std::nullopt;
        if (read == 0) break;
        if (system.BCryptHashData(rawHash, chunk.data(), read, 0) != 0) return std::nullopt;
    }
    std::array<unsigned char, 32> digest{};
    if (system.BCryptFinishHash(rawHash, digest.data(), static_cast<ULONG>(digest.size()), 0) != 0)
        return std::nullopt;
    std::string hex;
    for (unsigned char byte : digest) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

}  // namespace

FileFacts ReadFileFacts(const SystemFunctions& system, const std::wstring& path) {
    FileFacts facts;
    facts.version = FileVersion(system, path);
    const FileHandle file =
        OwnFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return facts;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size)) facts.size = static_cast<std::uint64_t>(size.QuadPart);
    facts.sha256 = Sha256(system, file.get());
    return facts;
}

std::u16string WindowsVersionText() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    using WineVersion = const char*(CDECL*)();
    const auto getVersion = reinterpret_cast<GetVersion>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!getVersion || getVersion(&info) != 0) return u"неизвестна";
    wchar_t text[256];
    std::swprintf(text, 256, L"%lu.%lu, сборка %lu", info.dwMajorVersion, info.dwMinorVersion,
                  info.dwBuildNumber);
    std::u16string result = fromWide(text);
    if (info.szCSDVersion[0]) result += u", " + fromWide(info.szCSDVersion);
    const auto wine = reinterpret_cast<WineVersion>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
    if (wine) {
        result += u" (Wine ";
        for (const char* c = wine(); *c; ++c) result += static_cast<char16_t>(*c);
        result += u")";
    }
    return result;
}
