#include <gtest/gtest.h>

#include "registry_support.h"
#include "settings/ball_count_store.h"

namespace {

constexpr char NurvoKey[] = "Software\\Nurvo";
constexpr uint32_t Untouched = 0xDEADBEEF;

class BallCountStore : public ::testing::Test {
  protected:
    void SetUp() override { DeleteKeyTree(NurvoKey); }
    void TearDown() override { DeleteKeyTree(NurvoKey); }
};

struct StoredCase {
    const char* name;
    DWORD type;
    Bytes data;
    uint32_t expected;
};

TEST_F(BallCountStore, ReadsStoredValueOfAtMostFourBytesAsItIs) {
    const StoredCase cases[] = {
        {"zero", REG_DWORD, DwordBytes(0), 0},
        {"one", REG_DWORD, DwordBytes(1), 1},
        {"thirty", REG_DWORD, DwordBytes(30), 30},
        {"above the table", REG_DWORD, DwordBytes(31), 31},
        {"negative as signed", REG_DWORD, DwordBytes(0xFFFFFFFF), 0xFFFFFFFF},
        {"four bytes of another type", REG_BINARY, DwordBytes(9), 9},
        {"two bytes, zero-extended", REG_BINARY, {0x05, 0x01}, 0x0105},
        {"one byte", REG_BINARY, {0x07}, 7},
        {"no bytes", REG_BINARY, {}, 0},
        {"eight bytes", REG_QWORD, {12, 0, 0, 0, 0, 0, 0, 0}, DefaultBallCount},
        {"five bytes", REG_BINARY, {12, 0, 0, 0, 0}, DefaultBallCount},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(NurvoKey);
        SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, c.type, c.data);
        uint32_t count = Untouched;
        DirtyStack();
        int result = ReadBallCount(&count);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(count, c.expected);
    }
}

TEST_F(BallCountStore, FirstReadCreatesEmptyKeyAndGivesDefault) {
    uint32_t count = Untouched;
    EXPECT_EQ(ReadBallCount(&count), 1);
    EXPECT_EQ(count, 20u);
    KeyCounts contents = CountKeyContents(ZOVA_SETTINGS_KEY);
    EXPECT_EQ(contents.values, 0);
    EXPECT_EQ(contents.subkeys, 0);

    // The second read finds the key without the value.
    count = Untouched;
    EXPECT_EQ(ReadBallCount(&count), 1);
    EXPECT_EQ(count, 20u);
}

TEST_F(BallCountStore, UnopenableKeyGivesDefaultAndFailure) {
    CreateVolatileKey(NurvoKey);
    uint32_t count = Untouched;
    EXPECT_EQ(ReadBallCount(&count), 0);
    EXPECT_EQ(count, 20u);
    EXPECT_FALSE(KeyExists(ZOVA_SETTINGS_KEY));
}

TEST_F(BallCountStore, WriteStoresFourByteDwordThatReadsBack) {
    for (uint32_t count : {1u, 20u, 30u, 0u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(count);
        DeleteKeyTree(NurvoKey);
        // Whatever was there before is replaced, type and all.
        SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
        EXPECT_EQ(WriteBallCount(count), 1);
        StoredValue stored = ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE);
        ASSERT_TRUE(stored.present);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(stored.data, DwordBytes(count));
        uint32_t read = Untouched;
        EXPECT_EQ(ReadBallCount(&read), 1);
        EXPECT_EQ(read, count);
    }
}

TEST_F(BallCountStore, WriteCreatesMissingKey) {
    EXPECT_EQ(WriteBallCount(7), 1);
    EXPECT_EQ(ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE).data, DwordBytes(7));
}

TEST_F(BallCountStore, WriteToUnopenableKeyFailsAndStoresNothing) {
    CreateVolatileKey(NurvoKey);
    EXPECT_EQ(WriteBallCount(7), 0);
    EXPECT_FALSE(KeyExists(ZOVA_SETTINGS_KEY));
}

}  // namespace
