#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "database/AssayId.h"

struct sqlite3;

// Builds SQLite files shaped like the host's database, for the installation check, the tests
// and the demo. Texts are UTF-8; an empty optional stores NULL. Portable.
class HostDatabase {
public:
    enum class Schema {
        WithOperatorTable,  // versions below 27: [operator] joined through assay.operatorid
        WithEmployeeName,   // versions 27 and later: assay.employee_name
    };

    struct Assay {
        std::optional<AssayId> id{};  // empty: let SQLite choose
        std::optional<std::int64_t> date = 0;
        std::optional<std::string> sample = "";
        std::optional<std::string> comment = "";
        std::optional<std::string> series = "";
        std::optional<std::string> filename = "";
        std::optional<std::int64_t> operatorId{};   // WithOperatorTable only
        std::optional<std::string> employeeName{};  // WithEmployeeName only
    };

    // Creates a fresh database at `path` (an existing file is replaced). With
    // `withVersionInfo` false the file has no [versioninfo] table at all.
    HostDatabase(std::string path, Schema schema, bool withVersionInfo = true);
    ~HostDatabase();
    HostDatabase(const HostDatabase&) = delete;
    HostDatabase& operator=(const HostDatabase&) = delete;

    AssayId addAssay(const Assay& assay);
    void addPeak(std::optional<AssayId> assayId, std::optional<std::string> name,
                 std::optional<double> concentration);
    void addOperator(std::int64_t id, std::optional<std::string> name);
    void addVersion(std::optional<int> version, std::int64_t appliedOn, std::int64_t id);
    // Runs any SQL (for shapes the helpers above do not cover); throws std::runtime_error.
    void exec(const std::string& sql);
    // Closes the builder's own connection so the file can be locked or removed by a test.
    void close();

    const std::string& path() const { return path_; }
    std::u16string uri() const;

    // A fresh path for a test database in the system's temporary folder.
    static std::string tempPath(const std::string& name);

private:
    sqlite3* db_ = nullptr;
    std::string path_;
    Schema schema_;
};
