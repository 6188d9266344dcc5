#include "check/SystemFunctions.h"

// Each function by its own name, from the library the member list gives it.
#define NIVRA_RESOLVE(library, name) name(library.function<decltype(name)>(#name))

SystemFunctions::SystemFunctions()
    : NIVRA_RESOLVE(bcrypt_, BCryptCloseAlgorithmProvider),
      NIVRA_RESOLVE(bcrypt_, BCryptCreateHash),
      NIVRA_RESOLVE(bcrypt_, BCryptDestroyHash),
      NIVRA_RESOLVE(bcrypt_, BCryptFinishHash),
      NIVRA_RESOLVE(bcrypt_, BCryptHashData),
      NIVRA_RESOLVE(bcrypt_, BCryptOpenAlgorithmProvider),
      NIVRA_RESOLVE(crypt32_, CertCloseStore),
      NIVRA_RESOLVE(crypt32_, CertFindCertificateInStore),
      NIVRA_RESOLVE(crypt32_, CertFreeCertificateContext),
      NIVRA_RESOLVE(crypt32_, CertGetCertificateContextProperty),
      NIVRA_RESOLVE(crypt32_, CertGetNameStringW),
      NIVRA_RESOLVE(crypt32_, CryptMsgClose),
      NIVRA_RESOLVE(crypt32_, CryptMsgGetParam),
      NIVRA_RESOLVE(crypt32_, CryptMsgOpenToDecode),
      NIVRA_RESOLVE(crypt32_, CryptMsgUpdate),
      NIVRA_RESOLVE(crypt32_, CryptQueryObject),
      NIVRA_RESOLVE(version_, GetFileVersionInfoSizeW),
      NIVRA_RESOLVE(version_, GetFileVersionInfoW),
      NIVRA_RESOLVE(version_, VerQueryValueW),
      NIVRA_RESOLVE(wintrust_, WinVerifyTrust),
      NIVRA_RESOLVE(wintrust_, WTHelperGetProvSignerFromChain),
      NIVRA_RESOLVE(wintrust_, WTHelperProvDataFromStateData) {}

#undef NIVRA_RESOLVE
