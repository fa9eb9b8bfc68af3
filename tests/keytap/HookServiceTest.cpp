#include <gtest/gtest.h>

#include "keytap/HookService.h"

namespace keytap {
namespace {

// A platform whose connection can be refused, counting what the service asks of it.
class FakePlatform final : public HookPlatform {
public:
    struct Counters {
        int running = 0;
        int started = 0;
        int tableChanges = 0;
    };

    class Backend final : public HookBackend {
    public:
        explicit Backend(Counters& counters) : mCounters(counters) {}
        ~Backend() override { mCounters.running -= mStarted ? 1 : 0; }
        void start() override {
            mStarted = true;
            ++mCounters.running;
            ++mCounters.started;
        }
        void tableChanged() override { ++mCounters.tableChanges; }
        uint32_t messageId() const override { return 0xc123; }

    private:
        Counters& mCounters;
        bool mStarted = false;
    };

    std::unique_ptr<HookBackend> open(const KeyTable&, const std::atomic<KeytapWindow>&) override {
        if (refuse) return nullptr;
        return std::make_unique<Backend>(counters);
    }
    uint32_t lookUpMessageId() override { return refuse ? 0 : 0xc123; }

    bool refuse = false;
    Counters counters;
};

class HookServiceTest : public ::testing::Test {
protected:
    void fillEverySlot() {
        for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) {
            const ShortcutKeyRecord record {slot, 65 + slot, slot % 8, slot % 2};
            ASSERT_EQ(service.registKey(&record), 1);
        }
    }

    FakePlatform platform;
    HookStorage storage;
    HookService service {platform, storage};
};

TEST_F(HookServiceTest, ASuccessfulStartFreesEverySlotAndKeepsTheOtherFields) {
    fillEverySlot();
    EXPECT_EQ(service.initHook(0x400001), 1);
    for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) {
        EXPECT_EQ(service.table().id(slot), -1);
        EXPECT_EQ(service.table().keyCode(slot), 65 + slot);
    }
    EXPECT_EQ(service.target(), 0x400001u);
    EXPECT_EQ(platform.counters.running, 1);
}

TEST_F(HookServiceTest, AFailedStartLeavesTheTableButStoresTheWindow) {
    fillEverySlot();
    platform.refuse = true;
    EXPECT_EQ(service.initHook(0x500002), 0);
    for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) EXPECT_EQ(service.table().id(slot), slot);
    EXPECT_EQ(service.target(), 0x500002u);
    EXPECT_FALSE(service.running());
}

TEST_F(HookServiceTest, AFailedStartAfterASuccessfulOneLeavesNoWatcherRunning) {
    ASSERT_EQ(service.initHook(1), 1);
    platform.refuse = true;
    EXPECT_EQ(service.initHook(2), 0);
    EXPECT_EQ(platform.counters.running, 0);
    EXPECT_EQ(service.terminateHook(), 0);
}

TEST_F(HookServiceTest, StartingTwiceReplacesTheWatcherInsteadOfAddingOne) {
    ASSERT_EQ(service.initHook(1), 1);
    ASSERT_EQ(service.initHook(2), 1);
    EXPECT_EQ(platform.counters.running, 1);
    EXPECT_EQ(platform.counters.started, 2);
    EXPECT_EQ(service.target(), 2u);
}

TEST_F(HookServiceTest, TerminatingReportsWhetherAWatcherWasStopped) {
    EXPECT_EQ(service.terminateHook(), 0);
    ASSERT_EQ(service.initHook(1), 1);
    const ShortcutKeyRecord record {4, 117, 0, 1};
    service.registKey(&record);
    EXPECT_EQ(service.terminateHook(), 1);
    EXPECT_EQ(platform.counters.running, 0);
    EXPECT_EQ(service.terminateHook(), 0);
    // The table and the window stay for a later start's caller to see.
    EXPECT_EQ(service.table().id(4), 4);
    EXPECT_EQ(service.target(), 1u);
}

TEST_F(HookServiceTest, RegisteringChecksTheSlotNumberAndTellsTheWatcher) {
    ASSERT_EQ(service.initHook(1), 1);
    const ShortcutKeyRecord tooHigh {16, 112, 0, 0};
    const ShortcutKeyRecord free {-1, 112, 0, 0};
    const ShortcutKeyRecord last {15, 112, 2, 1};
    EXPECT_EQ(service.registKey(&tooHigh), 0);
    EXPECT_EQ(service.registKey(&free), 0);
    EXPECT_EQ(service.registKey(nullptr), 0);
    EXPECT_EQ(platform.counters.tableChanges, 0);
    EXPECT_EQ(service.registKey(&last), 1);
    EXPECT_EQ(platform.counters.tableChanges, 1);
    EXPECT_EQ(service.table().read(15).ShiftStatus, 2);
}

TEST_F(HookServiceTest, RegisteringWorksWithoutAWatcher) {
    const ShortcutKeyRecord record {0, 112, 0, 0};
    EXPECT_EQ(service.registKey(&record), 1);
    EXPECT_EQ(service.table().id(0), 0);
}

TEST_F(HookServiceTest, UnregisteringChecksTheSlotNumber) {
    fillEverySlot();
    EXPECT_EQ(service.unRegistKey(16), 0);
    EXPECT_EQ(service.unRegistKey(-1), 0);
    EXPECT_EQ(service.unRegistKey(0), 1);
    EXPECT_EQ(service.table().id(0), -1);
    EXPECT_EQ(service.table().id(1), 1);
}

TEST_F(HookServiceTest, TheMessageNumberComesFromThePlatformWithOrWithoutAWatcher) {
    EXPECT_EQ(service.messageId(), 0xc123u);
    ASSERT_EQ(service.initHook(1), 1);
    EXPECT_EQ(service.messageId(), 0xc123u);
    service.terminateHook();
    platform.refuse = true;
    EXPECT_EQ(service.messageId(), 0u);
}

}  // namespace
}  // namespace keytap
