// The catalogue's two forms agree: the plain table generated for front ends
// without Qt holds every message of the .ts files, each as the compiled .qm
// translates it; and the language follows the desktop's list.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QString>
#include <QTranslator>

#include <gtest/gtest.h>

#include "support/Translations.h"

namespace lirabox {
namespace {

namespace fs = std::filesystem;

TEST(Translations, TheGeneratedTableHoldsEveryMessageAsTheCompiledCatalogueTranslatesIt) {
    std::size_t messages = 0;
    for (const auto& entry : fs::directory_iterator(LIRABOX_TS_DIR)) {
        if (entry.path().extension() != ".ts") continue;
        std::ifstream in(entry.path());
        const std::string text {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        for (auto at = text.find("<message>"); at != std::string::npos; at = text.find("<message>", at + 1)) ++messages;
    }
    EXPECT_EQ(translations().size(), messages);

    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(LIRABOX_QM_DIR "/lirabox_en.qm")));
    for (const Translation& entry : translations()) {
        ASSERT_STREQ(entry.language, "en");
        EXPECT_EQ(english.translate(entry.context, entry.source).toStdString(), entry.text)
            << entry.context << " / " << entry.source;
        EXPECT_EQ(translate(entry.context, entry.source, "en"), entry.text);
        EXPECT_EQ(translate(entry.context, entry.source, "ja"), entry.source);
    }
    EXPECT_EQ(translate("frmMain", "not a text of ours", "en"), "not a text of ours");
}

TEST(Translations, JapaneseOnlyForADesktopThatPrefersItToEnglish) {
    EXPECT_EQ(textLanguage({"ja-JP", "ja"}), "ja");
    EXPECT_EQ(textLanguage({"ja_JP.UTF-8"}), "ja");
    EXPECT_EQ(textLanguage({"de-DE", "ja", "en"}), "ja");
    EXPECT_EQ(textLanguage({"en-GB", "ja"}), "en");
    EXPECT_EQ(textLanguage({"fr-FR", "de"}), "en");
    EXPECT_EQ(textLanguage({"C"}), "en");
    EXPECT_EQ(textLanguage({"jam"}), "en");
    EXPECT_EQ(textLanguage({}), "en");
}

}  // namespace
}  // namespace lirabox
