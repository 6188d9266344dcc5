// nivra-check: the installation check a laboratory runs on its own PC. It loads nivra.dll the
// way the host does, walks each reference case through the real windows (choosing the pair in
// the selection dialog, reading the protocol from the window's list, receiving the report
// document as the host would) and compares every cell with texts worked out by hand. Each
// case works on a small host-shaped database in a temporary folder; the host's own database
// and settings are never touched.
//
//   nivra-check.exe [path\to\nivra.dll] [--report path\to\report.txt]
//
// Without a path it checks the nivra.dll beside itself. The report (Russian) is printed and
// filed as nivra-check-<date>.txt beside the program. Exit code 0 only when every case
// passed and the report was filed; 1 when a case failed; 2 when the report could not be
// written.

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "check/CheckOutput.h"
#include "check/FileFacts.h"
#include "check/ReferenceCases.h"
#include "check/SignatureFacts.h"
#include "check/SystemFunctions.h"
#include "check/SystemLibrary.h"
#include "check/driver/ControlText.h"
#include "check/road/LocalTimeText.h"
#include "check/road/ProgramFolder.h"
#include "check/road/Road.h"
#include "text/Utf8.h"
#include "text/WideText.h"

namespace {

constexpr char kTag[] = "nivra-check";

struct Arguments {
    std::wstring plugin;
    std::wstring report;  // empty: beside the program, named by the date
};

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full) : path;
}

Arguments ParseArguments() {
    Arguments arguments;
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    for (int i = 1; argv && i < count; ++i) {
        const std::wstring argument = argv.get()[i];
        if (argument == L"--report" && i + 1 < count)
            arguments.report = FullPath(argv.get()[++i]);
        else
            arguments.plugin = FullPath(argument);
    }
    if (arguments.plugin.empty()) arguments.plugin = ProgramFolder() + L"nivra.dll";
    return arguments;
}

// The folder holding the cases' databases, removed with everything in it when the check ends.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("nivra-check-" + std::to_string(GetCurrentProcessId()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const {
        const std::u8string path = (path_ / name).u8string();
        return std::string(path.begin(), path.end());
    }

private:
    std::filesystem::path path_;
};

// 2590720 as "2 590 720".
std::string Grouped(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), " ");
    return digits;
}

SignatureFacts DescribeInstallation(const SystemFunctions& system, const Arguments& arguments,
                                    CheckOutput& out) {
    const std::int64_t now = std::time(nullptr);
    const FileFacts facts = ReadFileFacts(system, arguments.plugin);
    out.line("Проверка установки nivra");
    out.line("Дата и время проверки: " + toUtf8(LocalDateText(now)) + " " +
             toUtf8(LocalTimeText(now, 0)));
    out.line("Windows: " + toUtf8(WindowsVersionText()));
    out.line("Проверяемый файл: " + toUtf8(fromWide(arguments.plugin)));
    out.line("Версия файла: " + (facts.version ? toUtf8(*facts.version) : "нет сведений о версии"));
    out.line("Размер: " + (facts.size ? Grouped(*facts.size) + " байт" : "файл не найден"));
    out.line("SHA-256: " + facts.sha256.value_or("не вычислена"));
    const SignatureFacts signature = ReadSignatureFacts(system, arguments.plugin);
    for (const std::string& line : SignatureLines(signature)) out.line(line);
    out.line();
    return signature;
}

struct CaseVerdict {
    bool passed;
    std::string line;  // for the report
};

// Runs one case on its own database.
CaseVerdict RunCase(std::size_t index, const ReferenceCase& reference, const Arguments& arguments,
                    const ScratchFolder& scratch) {
    RoadReport steps(kTag, false);
    {
        Road road(steps, arguments.plugin, reference,
                  scratch.file("case-" + std::to_string(index + 1) + ".db"), kTag);
        road.run();
    }
    const std::string name = std::to_string(index + 1) + ". " + reference.title + ": ";
    if (steps.anyFailed()) return {false, name + "НЕ ПРОЙДЕН — " + steps.firstFailure()};
    return {true, name + "пройден"};
}

std::wstring ReportPathFor(const Arguments& arguments, int attempt) {
    if (!arguments.report.empty()) return arguments.report;
    SYSTEMTIME today{};
    GetLocalTime(&today);
    wchar_t name[64];
    std::swprintf(name, 64, L"nivra-check-%04u-%02u-%02u", today.wYear, today.wMonth, today.wDay);
    std::wstring path = ProgramFolder() + name;
    if (attempt > 1) path += L"-" + std::to_wstring(attempt);
    return path + L".txt";
}

// Started by a double click the program has a console of its own, which would close with the
// report still unread: it then waits for a key.
void WaitIfOwnConsole() {
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) != 1) return;
    ShowLine("Нажмите Enter, чтобы закрыть окно.");
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    wchar_t buffer[16];
    DWORD read = 0;
    ReadConsoleW(input, buffer, 16, &read, nullptr);
}

// Walks every reference case; true when all passed.
bool RunCases(const Arguments& arguments, CheckOutput& out) {
    out.line("Контрольные примеры:");
    const auto& cases = ReferenceCases();
    std::size_t passed = 0;
    {
        const ScratchFolder scratch;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CaseVerdict verdict = RunCase(i, cases[i], arguments, scratch);
            passed += verdict.passed ? 1 : 0;
            out.line(verdict.line);
        }
    }
    out.line();
    const bool allPassed = passed == cases.size();
    const std::string tally = std::to_string(passed) + " из " + std::to_string(cases.size());
    out.line(allPassed ? "Итог: ПРОВЕРКА ПРОЙДЕНА, пройдены все примеры (" + tally + ")."
                       : "Итог: ПРОВЕРКА НЕ ПРОЙДЕНА, пройдено примеров: " + tally +
                             ". Не используйте эту установку для расчёта протоколов.");
    return allPassed;
}

int RunCheck() {
    const SystemFunctions system;
    const Arguments arguments = ParseArguments();
    CheckOutput out;
    const SignatureFacts signature = DescribeInstallation(system, arguments, out);
    bool allPassed = false;
    if (signature.changedAfterSigning()) {
        // Not the file that was shipped: it is not even loaded.
        out.line("Контрольные примеры не проводились: файл изменён после подписания.");
        out.line();
        out.line(
            "Итог: ПРОВЕРКА НЕ ПРОЙДЕНА, файл изменён после подписания. Не используйте "
            "эту установку для расчёта протоколов.");
    } else {
        allPassed = RunCases(arguments, out);
    }

    // A report named by the date is never overwritten: a second check on the same day gets
    // the next number.
    for (int attempt = 1; attempt <= 99; ++attempt) {
        const std::wstring path = ReportPathFor(arguments, attempt);
        if (out.writeFile(path, !arguments.report.empty())) {
            ShowLine("Отчёт записан в " + toUtf8(fromWide(path)));
            return allPassed ? 0 : 1;
        }
        if (!arguments.report.empty() || GetLastError() != ERROR_FILE_EXISTS) break;
    }
    ShowLine("ОТЧЁТ НЕ ЗАПИСАН: ошибка Windows " + std::to_string(GetLastError()));
    return 2;
}

}  // namespace

// Before any library is loaded by name, the program's folder being where the package was
// unzipped, often among other downloads. Run ahead of every other initialiser of the program:
// the stack protection's asks advapi32 for random bytes, which loads its cryptography provider.
__attribute__((constructor(101))) void NarrowLibrarySearchFirst() {
    NarrowLibrarySearch();
}

int main() {
    int status = 1;
    try {
        status = RunCheck();
    } catch (const std::exception& e) {
        ShowLine(std::string("Проверка прервана: ") + e.what());
    }
    WaitIfOwnConsole();
    return status;
}
