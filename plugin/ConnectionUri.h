#pragma once

// Taking over the database location the host answers to "DB/GetConnectionUri".
// Portable: no windows.h.

#include "database/DataBaseConnectionBase.h"

// Replaces the location kept in `holder` with a copy of `answer`, a NUL-terminated string of
// 16-bit units that stays the host's. The old copy is released first. A null answer leaves
// no location; so does a copy that fails for lack of memory, in which case std::bad_alloc
// propagates. Either way every later database action fails to open with a clear error
// instead of using a stale location.
void ReplaceConnectionUri(DataBase::DataBaseConnectionBase& holder, const char16_t* answer);

#ifdef _WIN32
// The host's wide answer: on Windows a wchar_t is one UTF-16 unit.
void ReplaceConnectionUri(DataBase::DataBaseConnectionBase& holder, const wchar_t* answer);
#endif
