#include "player/RecordingHistory.h"
#include "support/clsIniFile.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace lirabox::test {
namespace {

class RecordingHistoryTest : public ::testing::Test {
protected:
    std::shared_ptr<clsIniFile> file() const {
        auto ini = std::make_shared<clsIniFile>();
        ini->setFilePath(folder.path().string());
        ini->setFileName("history.ini");
        ini->setBufferSize(32767);
        return ini;
    }
    std::string fileText() const {
        std::ifstream in(folder.file("history.ini"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempFolder folder;
};

TEST_F(RecordingHistoryTest, KeepsPositionsAndOrderAcrossInstances) {
    const std::string odd = "/rec/a=b [c]; |d| \xe6\x97\xa5\xe6\x9c\xac.wav";
    {
        RecordingHistory history(file());
        history.opened("/rec/one.wav");
        history.remember("/rec/one.wav", 15.34);
        history.opened(odd);
        history.remember(odd, 3723);
        history.remember("/rec/never-opened.mp3", -4);
        ASSERT_TRUE(history.save());
    }
    RecordingHistory again(file());
    ASSERT_EQ(again.recordings().size(), 3u);
    EXPECT_EQ(again.recordings()[0].path, "/rec/never-opened.mp3");
    EXPECT_EQ(again.recordings()[1].path, odd);
    EXPECT_EQ(again.recordings()[2].path, "/rec/one.wav");
    EXPECT_EQ(again.position(odd), 3723.0);
    EXPECT_NEAR(again.position("/rec/one.wav").value_or(-1), 15.3, 1e-9);
    EXPECT_EQ(again.position("/rec/never-opened.mp3"), 0.0);
    EXPECT_EQ(again.position("/rec/unknown.wav"), std::nullopt);

    // Opening again moves a recording to the front and keeps its position.
    again.opened("/rec/one.wav");
    EXPECT_EQ(again.recordings()[0].path, "/rec/one.wav");
    EXPECT_NEAR(again.position("/rec/one.wav").value_or(-1), 15.3, 1e-9);
}

TEST_F(RecordingHistoryTest, KeepsTheLatestHundredAndForgetsWithoutLeavingStaleEntries) {
    {
        RecordingHistory history(file());
        for (int i = 0; i < 130; ++i) history.remember("/rec/" + std::to_string(i) + ".wav", i);
        ASSERT_TRUE(history.save());
    }
    RecordingHistory again(file());
    ASSERT_EQ(again.recordings().size(), RecordingHistory::kMaxRecordings);
    EXPECT_EQ(again.recordings().front().path, "/rec/129.wav");
    EXPECT_EQ(again.recordings().back().path, "/rec/30.wav");
    EXPECT_EQ(again.position("/rec/29.wav"), std::nullopt);

    for (int i = 129; i >= 40; --i) again.forget("/rec/" + std::to_string(i) + ".wav");
    ASSERT_TRUE(again.save());
    RecordingHistory shorter(file());
    ASSERT_EQ(shorter.recordings().size(), 10u);
    EXPECT_EQ(shorter.recordings().front().path, "/rec/39.wav");
}

TEST_F(RecordingHistoryTest, SkipsWhatDoesNotParseAndSurvivesAnUnwritableFile) {
    std::ofstream(folder.file("history.ini")) << "[Recordings]\n1=abc|/rec/x.wav\n2=nonsense\n3=12.5|/rec/y.wav\n"
                                                 "4=7|\n5=-3|/rec/z.wav\n";
    RecordingHistory history(file());
    ASSERT_EQ(history.recordings().size(), 2u);
    EXPECT_EQ(history.position("/rec/y.wav"), 12.5);
    EXPECT_EQ(history.position("/rec/z.wav"), 0.0);

    // A file in the way of the folder: nothing can be written, nothing is lost in memory.
    auto blocked = std::make_shared<clsIniFile>();
    std::ofstream(folder.file("plain")) << "x";
    blocked->setFilePath(folder.file("plain").string());
    blocked->setFileName("history.ini");
    RecordingHistory unwritable(blocked);
    unwritable.remember("/rec/a.wav", 5);
    EXPECT_FALSE(unwritable.save());
    EXPECT_EQ(unwritable.position("/rec/a.wav"), 5.0);
}

}  // namespace
}  // namespace lirabox::test
