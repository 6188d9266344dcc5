#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "database/SqlException.h"
#include "ui/FailureMessage.h"

TEST(FailureMessage, DetailNamesWhatWentWrong) {
    struct Case {
        const char* what;
        std::exception_ptr failure;
        std::u16string detail;
    } cases[] = {
        {"engine message",
         std::make_exception_ptr(DataBase::SqlException("no such table: assay", 1, nullptr)),
         u"no such table: assay"},
        {"engine message in Cyrillic",
         std::make_exception_ptr(DataBase::SqlException("таблица занята", 5, "SELECT 1;")),
         u"таблица занята"},
        {"empty engine message", std::make_exception_ptr(DataBase::SqlException("", 14, "")),
         u"Unknown exception"},
        {"no memory", std::make_exception_ptr(std::bad_alloc()), u"Недостаточно памяти."},
        {"other exception", std::make_exception_ptr(std::runtime_error("disk gone")), u"disk gone"},
        {"not an exception", std::make_exception_ptr(42), u"Неизвестная ошибка."},
        {"nothing caught", std::exception_ptr(), u"Неизвестная ошибка."},
    };
    for (const Case& c : cases) EXPECT_EQ(failureDetail(c.failure), c.detail) << c.what;
}

TEST(FailureMessage, SentenceThenDetailCutToTheBuffer) {
    const auto failure =
        std::make_exception_ptr(DataBase::SqlException("no such table: assay", 1, nullptr));
    const auto text = failureMessage(kOpenFileFailed, failure);
    EXPECT_EQ(text.view(), std::u16string(kOpenFileFailed) + u"\n\nno such table: assay");

    const std::string longMessage(2000, 'x');
    const auto cut = failureMessage(kCalculationFailed,
                                    std::make_exception_ptr(std::runtime_error(longMessage)));
    ASSERT_EQ(cut.length, kFailureTextCapacity - 1);
    EXPECT_EQ(cut.units[cut.length], u'\0');
    const std::u16string head = std::u16string(kCalculationFailed) + u"\n\n";
    EXPECT_EQ(cut.view(), head + std::u16string(kFailureTextCapacity - 1 - head.size(), u'x'));
}
