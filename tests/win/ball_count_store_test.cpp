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

TEST_F(BallCountStore, ReadsValuesOfAtMostFourBytesAsTheyAre) {
    const struct {
        DWORD type;
        Bytes data;
        uint32_t expected;
    } cases[] = {
        {REG_DWORD, DwordBytes(0), 0},
        {REG_DWORD, DwordBytes(1), 1},
        {REG_DWORD, DwordBytes(31), 31},
        {REG_DWORD, DwordBytes(0xFFFFFFFF), 0xFFFFFFFF},
        {REG_BINARY, DwordBytes(9), 9},
        {REG_BINARY, {0x05, 0x01}, 0x0105},  // zero-extended, whatever the stack held
        {REG_BINARY, {}, 0},
        {REG_QWORD, {12, 0, 0, 0, 0, 0, 0, 0}, DefaultBallCount},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, c.type, c.data);
        uint32_t count = Untouched;
        DirtyStack();
        EXPECT_EQ(ReadBallCount(&count), 1);
        EXPECT_EQ(count, c.expected);
    }
}

TEST_F(BallCountStore, FirstReadCreatesTheEmptyKeyAndGivesTheDefault) {
    uint32_t count = Untouched;
    EXPECT_EQ(ReadBallCount(&count), 1);
    EXPECT_EQ(count, 20u);
    EXPECT_TRUE(KeyExists(ZOVA_SETTINGS_KEY));
    EXPECT_FALSE(ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE).present);
}

TEST_F(BallCountStore, UnopenableKeyGivesTheDefaultAndStoresNothing) {
    RegCloseKey(CreateVolatileKey(NurvoKey));
    uint32_t count = Untouched;
    EXPECT_EQ(ReadBallCount(&count), 0);
    EXPECT_EQ(count, 20u);
    EXPECT_EQ(WriteBallCount(7), 0);
    EXPECT_FALSE(KeyExists(ZOVA_SETTINGS_KEY));
}

TEST_F(BallCountStore, WritesAFourByteDwordThatReadsBack) {
    for (uint32_t count : {1u, 30u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(count);
        // The first write creates the key; later ones replace a value of another type.
        if (count != 1) SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, REG_QWORD, Bytes(8, 1));
        EXPECT_EQ(WriteBallCount(count), 1);
        StoredValue stored = ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(stored.data, DwordBytes(count));
        uint32_t read = Untouched;
        EXPECT_EQ(ReadBallCount(&read), 1);
        EXPECT_EQ(read, count);
    }
}

}  // namespace
