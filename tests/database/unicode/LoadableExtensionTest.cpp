#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

// Loads build/<preset>/nivra_unicode.so into Debian's sqlite3 shell by file name alone, so the
// engine must find the entry point it derives from that name, and checks every function and
// the collation there, in a UTF-8 and a UTF-16 database.

namespace {

const char* const kShell = "/usr/bin/sqlite3";

struct Row {
    const char* sql;
    const char* output;
};

const Row kRows[] = {
    {"SELECT unicode_version();", "5.1.0.12"},
    {"SELECT upper('ёлка');", "ЁЛКА"},
    {"SELECT lower('ЁЛКА');", "ёлка"},
    {"SELECT fold('Straße');", "straße"},
    {"SELECT upper('ß');", "ß"},
    {"SELECT title('hello world');", "HELLO WORLD"},
    {"SELECT title('ǳ') || upper('ǳ');", "ǲǱ"},
    {"SELECT unaccent('Ёжик');", "Ежик"},
    {"SELECT unaccent('Æon');", "AEon"},
    {"SELECT quote(unaccent(''));", "''"},
    {"SELECT quote(unaccent(NULL));", "NULL"},
    {"SELECT 'ЁЖИК' LIKE 'ежик';", "1"},
    {"SELECT 'café' LIKE 'CAFE';", "1"},
    {"SELECT 'abc' LIKE 'a_c';", "1"},
    {"SELECT 'ab' LIKE 'a_c';", "0"},
    {"SELECT '10%' LIKE '10!%' ESCAPE '!';", "1"},
    {"SELECT '100' LIKE '10!%' ESCAPE '!';", "0"},
    {"SELECT quote('x' LIKE 'x' ESCAPE NULL);", "NULL"},
    {"SELECT like('ежик', 'ЁЖИК');", "1"},
    {"SELECT 'x' LIKE 'x' ESCAPE '';", "ESCAPE expression must be a single character"},
    {"SELECT 'x' LIKE 'x' ESCAPE 'ab';", "ESCAPE expression must be a single character"},
    {"SELECT 'x' LIKE printf('%.*c', 50001, 'a');", "LIKE or GLOB pattern too complex"},
    {"SELECT 'x' LIKE printf('%.*c', 50000, '%');", "1"},
    {"SELECT 'Ёж' = 'ЕЖ' COLLATE NOCASE;", "1"},
    {"SELECT 'a' < 'ab' COLLATE NOCASE;", "1"},
};

std::string RunShell(const std::string& script) {
    // Each test process (ctest runs the encodings side by side) writes its own script.
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("nivra-unicode-shell-" + std::to_string(getpid()) + ".sql");
    std::ofstream(path) << script;
    const std::string command =
        std::string(kShell) + " -batch :memory: < " + path.string() + " 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
        pclose(pipe);
    }
    std::filesystem::remove(path);
    return output;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class LoadableExtension : public testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(Encodings, LoadableExtension, testing::Values("UTF-8", "UTF-16le"));

}  // namespace

TEST_P(LoadableExtension, EveryFunctionAndTheCollationWorkInTheShell) {
    if (!std::filesystem::exists(kShell)) GTEST_SKIP() << "no sqlite3 shell installed";
    ASSERT_TRUE(std::filesystem::exists(NIVRA_UNICODE_EXTENSION));
    const bool utf16 = std::string(GetParam()) != "UTF-8";
    std::string script = std::string("PRAGMA encoding = '") + GetParam() + "';\n" + ".load " +
                         NIVRA_UNICODE_EXTENSION + "\n";
    std::vector<std::string> expected;
    for (const Row& row : kRows) {
        script += std::string(row.sql) + "\n";
        expected.push_back(row.output);
    }
    // Which NOCASE variant runs shows in how é and e compare.
    script += "SELECT 'é' = 'e' COLLATE NOCASE;\n";
    expected.push_back(utf16 ? "1" : "0");
    script +=
        "CREATE TABLE t (n TEXT COLLATE NOCASE);\n"
        "INSERT INTO t VALUES ('ЁЛКА'), ('ель'), ('Абрикос'), ('ЖУК');\n"
        "SELECT group_concat(n, ' ') FROM (SELECT n FROM t ORDER BY n);\n";
    expected.push_back("Абрикос ЁЛКА ель ЖУК");

    const std::vector<std::string> lines = Lines(RunShell(script));
    ASSERT_EQ(lines.size(), expected.size()) << RunShell(script);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Errors come as the shell's own error line around the function's message.
        const bool error = expected[i].find("LIKE") != std::string::npos ||
                           expected[i].find("ESCAPE") != std::string::npos;
        if (error) {
            EXPECT_NE(lines[i].find("rror"), std::string::npos) << lines[i];
            EXPECT_NE(lines[i].find(expected[i]), std::string::npos) << lines[i];
        } else {
            EXPECT_EQ(lines[i], expected[i]) << "line " << i;
        }
    }
}
