#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "check/HostDatabase.h"
#include "tests/protocol/WorkedExample.h"

using Schema = HostDatabase::Schema;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the built nivra-protocol with `args` and collects its exit status and both streams.
Outcome RunCli(const std::vector<std::string>& args) {
    const std::string errPath = HostDatabase::tempPath("cli-stderr");
    std::string command = ShellQuote(NIVRA_PROTOCOL_CLI);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote(errPath);

    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot start " << command;
        return outcome;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.out.append(buffer, got);
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath, std::ios::binary);
    outcome.err.assign(std::istreambuf_iterator<char>(err), {});
    std::filesystem::remove(errPath);
    return outcome;
}

std::string JoinRow(const ExpectedRow& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "\t" : "") + std::string(row[i]);
    return line + "\n";
}

// A host database holding the worked example's peaks as assays 11 (first) and 12 (second).
void AddWorkedExample(HostDatabase& fixture) {
    const auto input = WorkedExample::Input();
    const char* names[] = {"Азот", "Кислород", "Метан", "Неон", "Водород", "СО", "СО2"};
    fixture.addAssay({.id = 11, .series = "S"});
    fixture.addAssay({.id = 12, .series = "S"});
    for (std::size_t slot = 0; slot < 7; ++slot) {
        if (input.slots[slot].c1 != 0) fixture.addPeak(11, names[slot], input.slots[slot].c1);
        if (input.slots[slot].c2 != 0) fixture.addPeak(12, names[slot], input.slots[slot].c2);
    }
    fixture.addPeak(11, "Аргон", 0.0003);
}

}  // namespace

TEST(ProtocolCli, PrintsTheNineRowsTabSeparated) {
    HostDatabase fixture(HostDatabase::tempPath("cli-example"), Schema::WithOperatorTable);
    AddWorkedExample(fixture);
    fixture.close();

    std::string expected;
    for (const auto& row : WorkedExample::Protocol()) expected += JoinRow(row);
    const auto outcome = RunCli({fixture.path(), "11", "12"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, expected);
}

TEST(ProtocolCli, IdsOfZeroOrBelowMeanNoMeasurement) {
    HostDatabase fixture(HostDatabase::tempPath("cli-unset"), Schema::WithEmployeeName);
    AddWorkedExample(fixture);
    fixture.close();
    const std::string helium = "Гелий\t\t\t100.000000\t—\t—\t—\t—\t100.000000±0.000300\n";
    for (const char* id : {"0", "-1", "-0", "-9223372036854775808"}) {
        const auto outcome = RunCli({fixture.path(), id, id});
        EXPECT_EQ(outcome.status, 0) << id;
        EXPECT_EQ(outcome.err, "") << id;
        ASSERT_GE(outcome.out.size(), helium.size()) << id;
        EXPECT_EQ(outcome.out.substr(outcome.out.size() - helium.size()), helium) << id;
    }
    // One measurement only: the first column reads 0, the second the example's values.
    const auto half = RunCli({fixture.path(), "0", "12"});
    EXPECT_EQ(half.status, 0);
    EXPECT_EQ(half.out.substr(0, half.out.find('\n')),
              "Азот\t0.000000\t0.002300\t0.001150\t0.002300\t0.000115\tнеуд\t0.000230\t"
              "0.001150±0.000230");
}

TEST(ProtocolCli, DatabaseErrorsGiveOneLineOnStandardErrorAndExitOne) {
    struct Case {
        const char* what;
        std::string path;
        std::string err;
    };
    HostDatabase noPeaks(HostDatabase::tempPath("cli-no-peaks"), Schema::WithEmployeeName);
    noPeaks.exec("DROP TABLE peak");
    noPeaks.close();
    const std::string notDatabase = HostDatabase::tempPath("cli-not-a-database");
    std::ofstream(notDatabase) << "this is a text file, not a database, and long enough to be "
                                  "read as a header by the engine: padding padding padding\n";
    const std::string folder = HostDatabase::tempPath("cli-folder");
    std::filesystem::create_directories(folder);

    const std::vector<Case> cases = {
        {"no peak table", noPeaks.path(), "nivra-protocol: no such table: peak (result code 1)\n"},
        {"not a database", notDatabase,
         "nivra-protocol: file is not a database (result code 26)\n"},
        // Opened for reading, a folder opens on Linux and fails at its first read.
        {"a folder", folder, "nivra-protocol: disk I/O error (result code 10)\n"},
    };
    for (const auto& c : cases) {
        const auto outcome = RunCli({c.path, "1", "2"});
        EXPECT_EQ(outcome.status, 1) << c.what;
        EXPECT_EQ(outcome.out, "") << c.what;
        EXPECT_EQ(outcome.err, c.err) << c.what;
    }
    std::filesystem::remove(notDatabase);
    std::filesystem::remove(folder);
}

TEST(ProtocolCli, MissingDatabaseIsRefusedAndNotCreated) {
    const std::string missing = HostDatabase::tempPath("cli-missing");
    const std::string missingFolder = missing + "-folder/inner.db";
    for (const std::string& path : {missing, missingFolder, std::string()}) {
        const auto outcome = RunCli({path, "1", "2"});
        EXPECT_EQ(outcome.status, 1) << path;
        EXPECT_EQ(outcome.out, "") << path;
        EXPECT_EQ(outcome.err, "nivra-protocol: no database file at " + path + "\n");
        EXPECT_FALSE(std::filesystem::exists(path)) << path;
    }
}

TEST(ProtocolCli, WrongArgumentsPrintUsageAndExitTwo) {
    HostDatabase fixture(HostDatabase::tempPath("cli-usage"), Schema::WithEmployeeName);
    fixture.close();
    const std::string db = fixture.path();
    const std::string missing = HostDatabase::tempPath("cli-usage-missing");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {db},
        {db, "1"},
        {db, "1", "2", "3"},
        {db, "", "2"},
        {db, "1", "x"},
        {db, "12x", "2"},
        {db, " 1", "2"},
        {db, "1 ", "2"},
        {db, "+1", "2"},
        {db, "0x10", "2"},
        {db, "1.0", "2"},
        {db, "--1", "2"},
        {db, "-", "2"},
        {db, "9223372036854775808", "2"},
        {db, "1", "-9223372036854775809"},
        {db, "1", "99999999999999999999"},
        {missing, "one", "2"},
    };
    for (const auto& args : cases) {
        std::string label;
        for (const auto& a : args) label += "[" + a + "]";
        const auto outcome = RunCli(args);
        EXPECT_EQ(outcome.status, 2) << label;
        EXPECT_EQ(outcome.out, "") << label;
        EXPECT_EQ(outcome.err.rfind("usage: nivra-protocol DB FIRST_ID SECOND_ID", 0), 0u)
            << label << ": " << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << label;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    // The largest ids are still ids.
    EXPECT_EQ(RunCli({db, "9223372036854775807", "-9223372036854775808"}).status, 0);
}
