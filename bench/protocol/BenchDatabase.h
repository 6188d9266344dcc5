#pragma once

#include <cstdint>
#include <string>

// A large host-shaped database for timing the read path: kAssays measurements with
// kPeaksPerAssay peaks each, and an index on peak(assayid) as the host has.
namespace BenchDatabase {

inline constexpr std::int64_t kAssays = 200000;
inline constexpr std::int64_t kPeaksPerAssay = 10;

// Makes sure the database exists at `path`, writing it once (into a side file that is
// renamed when complete, so an interrupted run leaves nothing half-made under `path`).
void Ensure(const std::string& path);

}  // namespace BenchDatabase
