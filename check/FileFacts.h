#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What identifies the checked file in the report: its version resource, size and SHA-256.
struct FileFacts {
    std::optional<std::u16string> version;  // "1.0.4.0"; none without a version resource
    std::optional<std::uint64_t> size;
    std::optional<std::string> sha256;  // lower-case hex
};

class SystemFunctions;

FileFacts ReadFileFacts(const SystemFunctions& system, const std::wstring& path);

// The running Windows as "10.0, сборка 19045", with the service pack and, under Wine, its
// version, read where no compatibility shim can alter it.
std::u16string WindowsVersionText();
