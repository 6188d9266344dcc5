#include "check/SignatureFacts.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "check/SystemFunctions.h"
#include "check/road/LocalTimeText.h"
#include "datetime/FileTime.h"
#include "text/Utf8.h"
#include "text/WideText.h"

namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

struct StoreCloser {
    const SystemFunctions* system;
    void operator()(HCERTSTORE store) const { system->CertCloseStore(store, 0); }
};
struct MessageCloser {
    const SystemFunctions* system;
    void operator()(HCRYPTMSG message) const { system->CryptMsgClose(message); }
};
struct CertificateFreer {
    const SystemFunctions* system;
    void operator()(PCCERT_CONTEXT certificate) const {
        system->CertFreeCertificateContext(certificate);
    }
};
using Store = std::unique_ptr<void, StoreCloser>;
using Message = std::unique_ptr<void, MessageCloser>;
using Certificate = std::unique_ptr<const CERT_CONTEXT, CertificateFreer>;

std::int64_t UnixSeconds(const FILETIME& time) {
    const std::int64_t ticks =
        static_cast<std::int64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    return (ticks - kUnixEpochFileTime) / kFileTimeUnitsPerSecond;
}

const CRYPT_ATTRIBUTE* FindAttribute(const CRYPT_ATTRIBUTES& attributes, const char* oid) {
    for (DWORD i = 0; i < attributes.cAttr; ++i)
        if (std::strcmp(attributes.rgAttr[i].pszObjId, oid) == 0 && attributes.rgAttr[i].cValue)
            return &attributes.rgAttr[i];
    return nullptr;
}

// Steps over one DER element, handing out its tag and contents.
bool NextElement(const BYTE*& at, const BYTE* end, BYTE& tag, const BYTE*& contents,
                 std::size_t& length) {
    if (end - at < 2) return false;
    tag = *at++;
    length = *at++;
    if (length & 0x80) {
        std::size_t count = length & 0x7F;
        if (count == 0 || count > 4 || static_cast<std::size_t>(end - at) < count) return false;
        for (length = 0; count > 0; --count) length = length << 8 | *at++;
    }
    if (static_cast<std::size_t>(end - at) < length) return false;
    contents = at;
    at += length;
    return true;
}

// The time of an RFC 3161 time-stamp token: the genTime of its TSTInfo, the fifth element of
// SEQUENCE { version, policy, messageImprint, serialNumber, genTime, ... }.
std::optional<std::int64_t> TimeStampTokenTime(const SystemFunctions& system,
                                               const CRYPT_ATTR_BLOB& value) {
    const Message token(system.CryptMsgOpenToDecode(kEncoding, 0, 0, 0, nullptr, nullptr),
                        {&system});
    if (!token || !system.CryptMsgUpdate(token.get(), value.pbData, value.cbData, TRUE))
        return std::nullopt;
    DWORD size = 0;
    if (!system.CryptMsgGetParam(token.get(), CMSG_CONTENT_PARAM, 0, nullptr, &size))
        return std::nullopt;
    std::vector<BYTE> info(size);
    if (!system.CryptMsgGetParam(token.get(), CMSG_CONTENT_PARAM, 0, info.data(), &size))
        return std::nullopt;
    const BYTE* at = info.data();
    BYTE tag = 0;
    const BYTE* contents = nullptr;
    std::size_t length = 0;
    if (!NextElement(at, info.data() + size, tag, contents, length)) return std::nullopt;
    // The content may come still wrapped in the OCTET STRING that carries it (Wine's does).
    if (tag == 0x04 && !NextElement(at = contents, contents + length, tag, contents, length))
        return std::nullopt;
    if (tag != 0x30) return std::nullopt;
    const BYTE* end = contents + length;
    at = contents;
    for (int i = 0; i < 5; ++i)
        if (!NextElement(at, end, tag, contents, length)) return std::nullopt;
    // GeneralizedTime in UTC: YYYYMMDDhhmmss, then fractions of a second or Z.
    if (tag != 0x18 || length < 14) return std::nullopt;
    const auto number = [&](std::size_t from, std::size_t digits) {
        WORD value = 0;
        for (std::size_t i = from; i < from + digits; ++i)
            value = static_cast<WORD>(value * 10 + (contents[i] - '0'));
        return value;
    };
    for (std::size_t i = 0; i < 14; ++i)
        if (contents[i] < '0' || contents[i] > '9') return std::nullopt;
    const SYSTEMTIME when{number(0, 4),  number(4, 2),  0, number(6, 2), number(8, 2),
                          number(10, 2), number(12, 2), 0};
    FILETIME file{};
    if (!SystemTimeToFileTime(&when, &file)) return std::nullopt;
    return UnixSeconds(file);
}

// Who signed, with which certificate and when, read from the signature itself.
void ReadSigner(const SystemFunctions& system, const std::wstring& path, SignatureFacts& facts) {
    HCERTSTORE rawStore = nullptr;
    HCRYPTMSG rawMessage = nullptr;
    if (!system.CryptQueryObject(CERT_QUERY_OBJECT_FILE, path.c_str(),
                                 CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                                 CERT_QUERY_FORMAT_FLAG_BINARY, 0, nullptr, nullptr, nullptr,
                                 &rawStore, &rawMessage, nullptr))
        return;
    const Store store(rawStore, {&system});
    const Message message(rawMessage, {&system});
    facts.present = true;
    DWORD size = 0;
    if (!system.CryptMsgGetParam(rawMessage, CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size)) return;
    std::vector<BYTE> buffer(size);
    if (!system.CryptMsgGetParam(rawMessage, CMSG_SIGNER_INFO_PARAM, 0, buffer.data(), &size))
        return;
    const auto* signer = reinterpret_cast<const CMSG_SIGNER_INFO*>(buffer.data());

    CERT_INFO wanted{};
    wanted.Issuer = signer->Issuer;
    wanted.SerialNumber = signer->SerialNumber;
    const Certificate certificate(
        system.CertFindCertificateInStore(rawStore, kEncoding, 0, CERT_FIND_SUBJECT_CERT, &wanted,
                                          nullptr),
        {&system});
    if (certificate) {
        wchar_t name[256] = {};
        system.CertGetNameStringW(certificate.get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr,
                                  name, 256);
        facts.signer = fromWide(name);
        BYTE hash[20] = {};
        DWORD hashSize = sizeof hash;
        if (system.CertGetCertificateContextProperty(certificate.get(), CERT_SHA1_HASH_PROP_ID,
                                                     hash, &hashSize))
            for (DWORD i = 0; i < hashSize; ++i) {
                char pair[3];
                std::snprintf(pair, sizeof pair, "%02X", hash[i]);
                facts.thumbprint += pair;
            }
    }
    // The release is time-stamped by an RFC 3161 server, whose token the signature carries.
    if (const CRYPT_ATTRIBUTE* stamp =
            FindAttribute(signer->UnauthAttrs, szOID_RFC3161_counterSign))
        facts.timestamp = TimeStampTokenTime(system, stamp->rgValue[0]);
}

// WinVerifyTrust's verdict. Wine's accepts a chain whose root this computer does not trust;
// the chain it built says so, and Windows answers CERT_E_UNTRUSTEDROOT for it.
long Verify(const SystemFunctions& system, const std::wstring& path) {
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    long verdict = system.WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    CRYPT_PROVIDER_DATA* provider = system.WTHelperProvDataFromStateData(data.hWVTStateData);
    const CRYPT_PROVIDER_SGNR* signer =
        verdict == ERROR_SUCCESS && provider
            ? system.WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0)
            : nullptr;
    if (signer && signer->pChainContext &&
        signer->pChainContext->TrustStatus.dwErrorStatus & CERT_TRUST_IS_UNTRUSTED_ROOT)
        verdict = CERT_E_UNTRUSTEDROOT;
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    system.WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return verdict;
}

std::string VerdictText(long verdict) {
    switch (verdict) {
        case ERROR_SUCCESS:
            return "подпись действительна, сертификату доверяет этот компьютер";
        case TRUST_E_BAD_DIGEST:
            return "ПОДПИСЬ НЕДЕЙСТВИТЕЛЬНА: файл изменён после подписания";
        case CERT_E_UNTRUSTEDROOT:
            return "подпись цела, но сертификат выдан центром сертификации, которому этот "
                   "компьютер не доверяет";
        case CERT_E_CHAINING:
            return "подпись цела, но Windows не может проследить сертификат до доверенного "
                   "центра сертификации";
        case CERT_E_EXPIRED:
            return "срок действия сертификата истёк";
        case CERT_E_REVOKED:
        case CRYPT_E_REVOKED:
            return "сертификат отозван";
        case TRUST_E_EXPLICIT_DISTRUST:
            return "сертификат запрещён на этом компьютере";
        case CERT_E_WRONG_USAGE:
            return "сертификат не предназначен для подписи программ";
        default:
            char text[96];
            std::snprintf(text, sizeof text, "Windows не признаёт подпись (код 0x%08lX)",
                          static_cast<unsigned long>(verdict));
            return text;
    }
}

}  // namespace

bool SignatureFacts::changedAfterSigning() const {
    return present && verdict == TRUST_E_BAD_DIGEST;
}

SignatureFacts ReadSignatureFacts(const SystemFunctions& system, const std::wstring& path) {
    SignatureFacts facts;
    ReadSigner(system, path, facts);
    if (facts.present) facts.verdict = Verify(system, path);
    return facts;
}

std::vector<std::string> SignatureLines(const SignatureFacts& facts) {
    if (!facts.present) return {"Цифровая подпись: файл не подписан"};
    const auto given = [](const std::string& text) { return text.empty() ? "нет сведений" : text; };
    return {
        "Цифровая подпись: " + given(toUtf8(facts.signer)),
        "Отпечаток сертификата (SHA-1): " + given(facts.thumbprint),
        "Время подписания: " +
            (facts.timestamp ? toUtf8(LocalDateText(*facts.timestamp)) + " " +
                                   toUtf8(LocalTimeText(*facts.timestamp, 0)) + " (метка времени)"
                             : std::string("подпись без метки времени")),
        "Проверка подписи Windows: " + VerdictText(facts.verdict)};
}
