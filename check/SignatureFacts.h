#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The checked file's Authenticode signature: who signed it, with which certificate, when, and
// what Windows makes of it.
struct SignatureFacts {
    bool present = false;
    std::u16string signer;                  // the signing certificate's display name
    std::string thumbprint;                 // SHA-1 of that certificate, upper-case hex
    std::optional<std::int64_t> timestamp;  // Unix seconds, when the signature is time-stamped
    long verdict = 0;                       // WinVerifyTrust's result

    // The file was changed after it was signed, so it is not what was shipped.
    bool changedAfterSigning() const;
};

class SystemFunctions;

// Reads the signature and asks Windows to verify it, offline: no revocation check, nothing
// fetched from the network, no window.
SignatureFacts ReadSignatureFacts(const SystemFunctions& system, const std::wstring& path);

// The report's lines on the signature, in Russian.
std::vector<std::string> SignatureLines(const SignatureFacts& facts);
