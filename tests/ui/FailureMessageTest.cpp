#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "database/SqlException.h"
#include "ui/DatabaseFailure.h"
#include "ui/FailureMessage.h"

namespace {

const std::u16string kBusy = u"База данных занята другой программой. Повторите попытку позже.";
const std::u16string kGeneral = u"Ошибка базы данных.";

}  // namespace

TEST(FailureMessage, DetailNamesWhatWentWrong) {
    struct Case {
        const char* what;
        std::exception_ptr failure;
        std::u16string detail;
    } cases[] = {
        {"engine message",
         std::make_exception_ptr(DataBase::SqlException("no such table: assay", 1, nullptr)),
         kGeneral + u"\nСведения для поддержки: no such table: assay (код 1)"},
        {"engine message in Cyrillic",
         std::make_exception_ptr(DataBase::SqlException("таблица занята", 5, "SELECT 1;")),
         kBusy + u"\nСведения для поддержки: таблица занята (код 5)"},
        {"empty engine message, negative code",
         std::make_exception_ptr(DataBase::SqlException("", -14, "")),
         kGeneral + u"\nСведения для поддержки: Unknown exception (код -14)"},
        {"no memory", std::make_exception_ptr(std::bad_alloc()), u"Недостаточно памяти."},
        {"other exception", std::make_exception_ptr(std::runtime_error("disk gone")), u"disk gone"},
        {"not an exception", std::make_exception_ptr(42), u"Неизвестная ошибка."},
        {"nothing caught", std::exception_ptr(), u"Неизвестная ошибка."},
    };
    for (const Case& c : cases) EXPECT_EQ(failureDetail(c.failure), c.detail) << c.what;
}

TEST(FailureMessage, EveryCommonDatabaseFailureIsExplainedByItsPrimaryCode) {
    // Busy, locked, busy in recovery: one explanation.
    for (int code : {5, 6, 5 | (1 << 8)})
        EXPECT_EQ(DatabaseFailureExplanation(code), kBusy) << code;
    // Cannot open, not a database, damaged, read-only (also as a hot journal it may not roll
    // back), no permission, disk I/O (also a failed read), full disk, no memory.
    const int explained[] = {14, 26, 11, 8, 8 | (3 << 8), 3, 10, 10 | (1 << 8), 13, 7};
    for (int code : explained) {
        EXPECT_NE(DatabaseFailureExplanation(code), kGeneral) << code;
        EXPECT_NE(DatabaseFailureExplanation(code), kBusy) << code;
    }
    EXPECT_EQ(DatabaseFailureExplanation(8 | (3 << 8)), DatabaseFailureExplanation(8));
    for (int code : {1, 19, 25, 0}) EXPECT_EQ(DatabaseFailureExplanation(code), kGeneral) << code;
}

TEST(FailureMessage, SentenceThenDetailCutToTheBuffer) {
    const auto failure =
        std::make_exception_ptr(DataBase::SqlException("database is locked", 5, nullptr));
    const auto text = failureMessage(kOpenFileFailed, failure);
    EXPECT_EQ(text.view(), std::u16string(kOpenFileFailed) + u"\n\n" + kBusy +
                               u"\nСведения для поддержки: database is locked (код 5)");

    const std::string longMessage(2000, 'x');
    const auto cut = failureMessage(kCalculationFailed,
                                    std::make_exception_ptr(std::runtime_error(longMessage)));
    ASSERT_EQ(cut.length, kFailureTextCapacity - 1);
    EXPECT_EQ(cut.units[cut.length], u'\0');
    const std::u16string head = std::u16string(kCalculationFailed) + u"\n\n";
    EXPECT_EQ(cut.view(), head + std::u16string(kFailureTextCapacity - 1 - head.size(), u'x'));
}
