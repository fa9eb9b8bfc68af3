// The user guides the help menu opens, one per language: each names every
// menu item and every shortcut-key row in its own language's words, every
// command `lirabox --command` takes, and the English one quotes no Japanese.

#include "player/Command.h"
#include "player/MainWindowTexts.h"
#include "settings/SettingsTexts.h"
#include "support/Translations.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lirabox {
namespace {

std::string guide(const char* name) {
    std::ifstream in(std::string(LIRABOX_SOURCE_DIR) + "/player/help/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A caption as the guide writes it: without the menu's access-key marks and
// the "..." of an item that opens a dialog.
std::string asWritten(std::string caption) {
    for (std::size_t at = caption.find('&'); at != std::string::npos; at = caption.find('&', at)) caption.erase(at, 1);
    if (caption.ends_with("...")) caption.resize(caption.size() - 3);
    return caption;
}

std::vector<UiText> menusAndRows() {
    using namespace texts;
    std::vector<UiText> captions {kFileMenu,
                                  kOpen,
                                  kPlay,
                                  kPause,
                                  kStop,
                                  kForward,
                                  kRewind,
                                  kSpeedUpItem,
                                  kSpeedDownItem,
                                  kTimeStampItem,
                                  kQuitItem,
                                  kSettingsMenu,
                                  kPlaybackSettings,
                                  kShortcutKeySettings,
                                  kViewMenu,
                                  kOnTop,
                                  kOneLineMenu,
                                  kToFullModeItem,
                                  kHelpMenu,
                                  kContentsItem,
                                  kVersionItem,
                                  kUseKey,
                                  settings::text::kFootPedalTab,
                                  settings::text::kSuggestedKeys,
                                  settings::text::kDiscardHeader};
    captions.insert(captions.end(), settings::text::kRowCaptions.begin(), settings::text::kRowCaptions.end());
    captions.insert(captions.end(), settings::text::kPedalNames.begin(), settings::text::kPedalNames.end());
    return captions;
}

TEST(Guides, EachNamesEveryMenuItemKeyRowAndRemoteCommandInItsLanguage) {
    const std::string japanese = guide("Lirabox_help.html");
    const std::string english = guide("Lirabox_help_en.html");
    ASSERT_NE(japanese.find("<html lang=\"ja\">"), std::string::npos);
    ASSERT_NE(english.find("<html lang=\"en\">"), std::string::npos);
    for (const UiText& caption : menusAndRows()) {
        EXPECT_NE(japanese.find(caption.source), std::string::npos) << caption.source;
        const std::string translated = asWritten(std::string(translate(caption.context, caption.source, "en")));
        EXPECT_NE(english.find(translated), std::string::npos) << translated;
    }
    for (std::int32_t slot = 0; !slotCommandName(slot).empty(); ++slot) {
        const std::string name(slotCommandName(slot));
        EXPECT_NE(japanese.find("<code>" + name + "</code>"), std::string::npos) << name;
        EXPECT_NE(english.find("<code>" + name + "</code>"), std::string::npos) << name;
    }
    for (const std::string& guideText : {japanese, english}) {
        EXPECT_NE(guideText.find("org.mpris.MediaPlayer2.lirabox"), std::string::npos);
        EXPECT_NE(guideText.find("Wayland"), std::string::npos);
        EXPECT_NE(guideText.find("VEC Infinity"), std::string::npos);
    }
}

// Hiragana, katakana and the common kanji lie in U+3040..U+9FFF, which UTF-8
// writes with a lead byte 0xE3..0xE9; the full-width forms with 0xEF 0xBC/0xBD.
TEST(Guides, TheEnglishGuideQuotesNoJapanese) {
    const std::string english = guide("Lirabox_help_en.html");
    for (std::size_t at = 0; at < english.size(); ++at) {
        const auto byte = static_cast<unsigned char>(english[at]);
        const bool japanese =
            (byte >= 0xE3 && byte <= 0xE9) ||
            (byte == 0xEF && at + 1 < english.size() && (static_cast<unsigned char>(english[at + 1]) & 0xFE) == 0xBC);
        ASSERT_FALSE(japanese) << "at byte " << at << ": " << english.substr(at > 40 ? at - 40 : 0, 80);
    }
}

}  // namespace
}  // namespace lirabox
