#pragma once

// Reading and writing zip packages through minizip, with wide paths. Windows only.

#include <filesystem>
#include <string>
#include <vector>

// One entry of a package: its name, its bytes and, when read, how it was stored
// (0 stored, 8 deflated).
struct ZipEntry {
    std::string name;
    std::string bytes;
    unsigned long method = 0;
};

// Every entry of the zip file at `path`, in the order of its central directory; throws
// std::runtime_error when the file cannot be read as a zip package.
std::vector<ZipEntry> ReadZipEntries(const std::filesystem::path& path);

// Writes `entries` as an OpenDocument package at `path`: the entry "mimetype" first and
// stored uncompressed, every other entry deflated, in the given order. The package is
// written beside the target and moved over it only when complete; throws
// std::runtime_error on failure, leaving any earlier file at `path` as it was.
void WriteOpenDocumentPackage(const std::filesystem::path& path,
                              const std::vector<ZipEntry>& entries);
