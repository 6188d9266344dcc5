#include "tests/host/export/ZipPackage.h"

#include "tests/host/export/Utf8Path.h"

#include <windows.h>

#include <unzip.h>
#include <zip.h>
// After zip.h and unzip.h, which it builds on.
#include <iowin32.h>

#include <memory>
#include <stdexcept>

namespace {

struct UnzipCloser {
    void operator()(void* file) const noexcept { unzClose(file); }
};
struct ZipCloser {
    void operator()(void* file) const noexcept { zipClose(file, nullptr); }
};
using UnzipHandle = std::unique_ptr<void, UnzipCloser>;
using ZipHandle = std::unique_ptr<void, ZipCloser>;

zlib_filefunc64_def widePathFunctions() {
    zlib_filefunc64_def functions{};
    fill_win32_filefunc64W(&functions);
    return functions;
}

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw std::runtime_error(what + ": " + Utf8Path(path));
}

ZipEntry readCurrent(unzFile file, const std::filesystem::path& path) {
    unz_file_info64 info{};
    char name[512] = {};
    if (unzGetCurrentFileInfo64(file, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) !=
        UNZ_OK)
        fail("unreadable zip entry", path);
    ZipEntry entry{name, std::string(static_cast<std::size_t>(info.uncompressed_size), '\0'),
                   info.compression_method};
    if (unzOpenCurrentFile(file) != UNZ_OK) fail("cannot open zip entry " + entry.name, path);
    const int read = entry.bytes.empty()
                         ? 0
                         : unzReadCurrentFile(file, entry.bytes.data(),
                                              static_cast<unsigned>(entry.bytes.size()));
    // Closing checks the CRC of everything read.
    const int closed = unzCloseCurrentFile(file);
    if (read != static_cast<int>(entry.bytes.size()) || closed != UNZ_OK)
        fail("damaged zip entry " + entry.name, path);
    return entry;
}

void writeEntry(zipFile file, const ZipEntry& entry, bool stored,
                const std::filesystem::path& path) {
    zip_fileinfo info{};
    // 1980-01-01, the earliest zip time: the same content always gives the same bytes.
    info.dosDate = (0u << 25) | (1u << 21) | (1u << 16);
    const int method = stored ? 0 : Z_DEFLATED;
    const int level = stored ? 0 : Z_BEST_COMPRESSION;
    if (zipOpenNewFileInZip64(file, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              method, level, 0) != ZIP_OK ||
        zipWriteInFileInZip(file, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())) !=
            ZIP_OK ||
        zipCloseFileInZip(file) != ZIP_OK)
        fail("cannot write zip entry " + entry.name, path);
}

}  // namespace

std::vector<ZipEntry> ReadZipEntries(const std::filesystem::path& path) {
    zlib_filefunc64_def functions = widePathFunctions();
    UnzipHandle file(unzOpen2_64(path.c_str(), &functions));
    if (!file) fail("not a zip package", path);
    std::vector<ZipEntry> entries;
    for (int status = unzGoToFirstFile(file.get()); status == UNZ_OK;
         status = unzGoToNextFile(file.get())) {
        entries.push_back(readCurrent(file.get(), path));
    }
    return entries;
}

void WriteOpenDocumentPackage(const std::filesystem::path& path,
                              const std::vector<ZipEntry>& entries) {
    std::filesystem::path partial = path;
    partial += L".part";
    try {
        zlib_filefunc64_def functions = widePathFunctions();
        ZipHandle file(zipOpen2_64(partial.c_str(), APPEND_STATUS_CREATE, nullptr, &functions));
        if (!file) fail("cannot create (error " + std::to_string(GetLastError()) + ")", partial);
        for (const ZipEntry& entry : entries)
            if (entry.name == "mimetype") writeEntry(file.get(), entry, true, partial);
        for (const ZipEntry& entry : entries)
            if (entry.name != "mimetype") writeEntry(file.get(), entry, false, partial);
        if (zipClose(file.release(), nullptr) != ZIP_OK) fail("cannot finish", partial);
    } catch (...) {
        DeleteFileW(partial.c_str());
        throw;
    }
    if (!MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(partial.c_str());
        fail("cannot replace", path);
    }
}
