// nivra-protocol DB FIRST_ID SECOND_ID: prints the impurity protocol of two measurements of a
// host database, one row per line, the cells of a row separated by a TAB, in UTF-8.
// Exit codes: 0 printed, 1 the database could not be read, 2 wrong arguments.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "protocol/ComputeProtocol.h"
#include "protocol/ReadComponentConcentrations.h"
#include "text/Utf8.h"
#include "tools/cli/AssayIdArgument.h"

namespace {

constexpr int kPrinted = 0;
constexpr int kDatabaseFailed = 1;
constexpr int kUsage = 2;

int Usage() {
    std::fputs(
        "usage: nivra-protocol DB FIRST_ID SECOND_ID  (ids: signed 64-bit decimal, 0 or below "
        "for no measurement)\n",
        stderr);
    return kUsage;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "nivra-protocol: %s\n", message.c_str());
    return kDatabaseFailed;
}

std::string ProtocolText(const ImpurityCalculation::ProtocolTable& table) {
    std::string text;
    for (const auto& row : table.rows) {
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            if (column > 0) text += '\t';
            text += toUtf8(row[column]);
        }
        text += '\n';
    }
    return text;
}

int Run(const std::string& path, AssayId first, AssayId second) {
    const std::u16string uri = fromUtf8(path);
    // A path that does not survive the trip through UTF-16 would name another file.
    if (toUtf8(uri) != path) return Fail("database path is not valid UTF-8: " + path);
    // The engine would refuse a missing file too, but only as "unable to open database file";
    // this names the path.
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(path), error))
        return Fail("no database file at " + path);

    DataBase::SqlConnection db(uri.c_str());
    const auto table = ImpurityCalculation::computeProtocol(
        ImpurityCalculation::readComponentConcentrations(db, first, second));
    // Printed only once everything has been read, so a failure prints nothing here.
    const std::string text = ProtocolText(table);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        return Fail("could not write the protocol");
    }
    return kPrinted;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Usage();
    const auto first = ParseAssayId(argv[2]);
    const auto second = ParseAssayId(argv[3]);
    if (!first || !second) return Usage();
    try {
        return Run(argv[1], *first, *second);
    } catch (const DataBase::SqlException& e) {
        std::fprintf(stderr, "nivra-protocol: %s (result code %d)\n", e.what(), e.code());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "nivra-protocol: %s\n", e.what());
    }
    return kDatabaseFailed;
}
