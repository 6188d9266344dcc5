#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "database/SqlConnection.h"

// Runs in a program of its own: it replaces the engine's allocator for the whole process.
// The allocator refuses blocks of one chosen size, which only the function under test asks
// for, and the function must answer with the engine's out-of-memory result.

namespace {

sqlite3_mem_methods gEngineAllocator;
int gRefusedSize = -1;
int gRefusals = 0;

bool Refuse(int size) {
    if (size != gRefusedSize && size != ((gRefusedSize + 7) & ~7)) return false;
    ++gRefusals;
    return true;
}

void* RefusingMalloc(int size) {
    return Refuse(size) ? nullptr : gEngineAllocator.xMalloc(size);
}

void* RefusingRealloc(void* block, int size) {
    return Refuse(size) ? nullptr : gEngineAllocator.xRealloc(block, size);
}

class AllocationFailure : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(sqlite3_shutdown(), SQLITE_OK);
        ASSERT_EQ(sqlite3_config(SQLITE_CONFIG_GETMALLOC, &gEngineAllocator), SQLITE_OK);
        sqlite3_mem_methods refusing = gEngineAllocator;
        refusing.xMalloc = RefusingMalloc;
        refusing.xRealloc = RefusingRealloc;
        ASSERT_EQ(sqlite3_config(SQLITE_CONFIG_MALLOC, &refusing), SQLITE_OK);
        ASSERT_EQ(sqlite3_initialize(), SQLITE_OK);
    }

    void SetUp() override {
        // A UTF-16 database takes a bound UTF-16 text as it is: no conversion allocates.
        ASSERT_EQ(
            sqlite3_exec(db.handle(), "PRAGMA encoding = 'UTF-16le';", nullptr, nullptr, nullptr),
            SQLITE_OK);
    }

    // Steps `function(?1)` with `text` bound, refusing blocks of `refusedSize` bytes; the
    // step's result code, and the result text when there is one.
    int Call(const char* function, const std::u16string& text, int refusedSize,
             std::u16string* result = nullptr) {
        const std::string sql = std::string("SELECT ") + function + "(?1);";
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
        sqlite3_bind_text16(statement, 1, text.c_str(), -1, SQLITE_STATIC);
        gRefusals = 0;
        gRefusedSize = refusedSize;
        const int rc = sqlite3_step(statement);
        gRefusedSize = -1;
        if (rc == SQLITE_ROW && result) {
            *result = static_cast<const char16_t*>(sqlite3_column_text16(statement, 0));
        }
        sqlite3_finalize(statement);
        return rc;
    }

    DataBase::SqlConnection db{u":memory:"};
};

}  // namespace

TEST_F(AllocationFailure, MappingFunctionsAnswerOutOfMemory) {
    const std::u16string text(4999, u'ж');  // asks for 2 * 4999 + 2 = 10000 bytes
    for (const char* function : {"fold", "lower", "upper", "title", "unaccent"}) {
        EXPECT_EQ(Call(function, text, 10000), SQLITE_NOMEM) << function;
        EXPECT_EQ(gRefusals, 1) << function;
        std::u16string result;
        ASSERT_EQ(Call(function, text, -1, &result), SQLITE_ROW) << function;
        EXPECT_EQ(result.size(), text.size()) << function;
    }
}

TEST_F(AllocationFailure, UnaccentAnswersOutOfMemoryWhenItCannotGrow) {
    // Æ becomes two units, so the 10000-byte buffer must grow, to 20000 bytes.
    const std::u16string text = u"Æ" + std::u16string(4998, u'a');
    EXPECT_EQ(Call("unaccent", text, 20000), SQLITE_NOMEM);
    EXPECT_EQ(gRefusals, 1);
    std::u16string result;
    ASSERT_EQ(Call("unaccent", text, -1, &result), SQLITE_ROW);
    EXPECT_EQ(result, u"AE" + std::u16string(4998, u'a'));
}
