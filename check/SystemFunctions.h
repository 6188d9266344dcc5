#pragma once

#include <windows.h>
// After windows.h, whose types they use.
#include <bcrypt.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include "check/SystemLibrary.h"

// The functions the check takes from system libraries that are no KnownDLL (hashing,
// signatures, version resources): loaded at run time from the system folder only, so that a
// library of the same name beside the program is never run. Throws, in Russian, when a library
// or a function is missing.
class SystemFunctions {
private:
    SystemLibrary bcrypt_{L"bcrypt.dll"};
    SystemLibrary crypt32_{L"crypt32.dll"};
    SystemLibrary version_{L"version.dll"};
    SystemLibrary wintrust_{L"wintrust.dll"};

public:
    SystemFunctions();
    SystemFunctions(const SystemFunctions&) = delete;
    SystemFunctions& operator=(const SystemFunctions&) = delete;

    decltype(&::BCryptCloseAlgorithmProvider) BCryptCloseAlgorithmProvider;
    decltype(&::BCryptCreateHash) BCryptCreateHash;
    decltype(&::BCryptDestroyHash) BCryptDestroyHash;
    decltype(&::BCryptFinishHash) BCryptFinishHash;
    decltype(&::BCryptHashData) BCryptHashData;
    decltype(&::BCryptOpenAlgorithmProvider) BCryptOpenAlgorithmProvider;

    decltype(&::CertCloseStore) CertCloseStore;
    decltype(&::CertFindCertificateInStore) CertFindCertificateInStore;
    decltype(&::CertFreeCertificateContext) CertFreeCertificateContext;
    decltype(&::CertGetCertificateContextProperty) CertGetCertificateContextProperty;
    decltype(&::CertGetNameStringW) CertGetNameStringW;
    decltype(&::CryptMsgClose) CryptMsgClose;
    decltype(&::CryptMsgGetParam) CryptMsgGetParam;
    decltype(&::CryptMsgOpenToDecode) CryptMsgOpenToDecode;
    decltype(&::CryptMsgUpdate) CryptMsgUpdate;
    decltype(&::CryptQueryObject) CryptQueryObject;

    decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW;
    decltype(&::GetFileVersionInfoW) GetFileVersionInfoW;
    decltype(&::VerQueryValueW) VerQueryValueW;

    decltype(&::WinVerifyTrust) WinVerifyTrust;
    decltype(&::WTHelperGetProvSignerFromChain) WTHelperGetProvSignerFromChain;
    decltype(&::WTHelperProvDataFromStateData) WTHelperProvDataFromStateData;
};
