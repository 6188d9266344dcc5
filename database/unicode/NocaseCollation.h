#pragma once

namespace DataBase::Unicode {

// The user data that tells the NOCASE comparison which encoding it receives.
inline constexpr int kNocaseUtf8 = 1;   // SQLITE_UTF8
inline constexpr int kNocaseUtf16 = 4;  // SQLITE_UTF16, native byte order

// The NOCASE collation: compares the reduced characters of two texts in order; a text that
// runs out first sorts first; texts whose reduced characters all agree are ordered by byte
// length. `encoding` points nowhere: its value is kNocaseUtf8 or kNocaseUtf16.
int CompareNocase(void* encoding, int leftBytes, const void* left, int rightBytes,
                  const void* right) noexcept;

}  // namespace DataBase::Unicode
