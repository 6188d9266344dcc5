#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

// A mixed Russian/Latin text corpus, the same every run, and in-memory databases holding it
// in table corpus(t, u) (u an identical copy of t), with or without nivra's functions.
namespace BenchCorpus {

// The rows of the corpus, about 100 bytes of UTF-8 each.
const std::vector<std::string>& Rows();
// Total UTF-8 bytes of all rows.
std::size_t Bytes();

struct Closer {
    void operator()(sqlite3* db) const;
};
using Connection = std::unique_ptr<sqlite3, Closer>;

// A :memory: database with the corpus; `withUnicode` registers nivra's functions and
// collation, otherwise the engine's built-in (ASCII-only) ones answer.
Connection Open(bool withUnicode);

// Steps `sql` to its end and returns the integer in the first column of the last row.
long long Scalar(sqlite3* db, const std::string& sql);

}  // namespace BenchCorpus
