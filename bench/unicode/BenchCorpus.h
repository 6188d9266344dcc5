#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

// Text corpora, the same every run, and in-memory databases holding one of them in table
// corpus(t, u) (u an identical copy of t), with or without nivra's functions.
namespace BenchCorpus {

// Mixed: Russian and Latin words with a few accented letters and signs. Ascii: its words
// that are plain ASCII. Russian: its Cyrillic words.
enum class Kind { Mixed, Ascii, Russian };
inline constexpr Kind kKinds[] = {Kind::Mixed, Kind::Ascii, Kind::Russian};
const char* Name(Kind kind);

// The rows of a corpus, about 100 bytes of UTF-8 each.
const std::vector<std::string>& Rows(Kind kind);
// Total UTF-8 bytes of all rows of a corpus.
std::size_t Bytes(Kind kind);

struct Closer {
    void operator()(sqlite3* db) const;
};
using Connection = std::unique_ptr<sqlite3, Closer>;

// A :memory: database with a corpus; `withUnicode` registers nivra's functions and
// collation, otherwise the engine's built-in (ASCII-only) ones answer.
Connection Open(Kind kind, bool withUnicode);

// Steps `sql` to its end and returns the integer in the first column of the last row.
long long Scalar(sqlite3* db, const std::string& sql);

}  // namespace BenchCorpus
