#pragma once
// Every text the settings dialog shows, in one place.

#include <array>

namespace lirabox::settings::text {

// Tab titles; the dialog's caption follows the selected tab.
inline constexpr const char* kPlaybackTab = "再生設定";
inline constexpr const char* kShortcutKeyTab = "ショートカットキー設定";
inline constexpr const char* kFootPedalTab = "フットペダル";
inline constexpr const char* kFootPedalCaption = "フットペダル設定";

inline constexpr const char* kTopMost = "常に手前に表示";
inline constexpr const char* kApply = "適用";
inline constexpr const char* kOK = "OK";
inline constexpr const char* kCancel = "キャンセル";

// The playback tab: caption and explanation of each step box, and the unit.
inline constexpr const char* kAutRevCaption = "再生時自動戻り秒数";
inline constexpr const char* kAutRevExplanation = "一時停止後、自動で巻き戻しを行う秒数を指定してください。";
inline constexpr const char* kRevTimeCaption = "巻き戻し秒数";
inline constexpr const char* kRevTimeExplanation = "1回の巻き戻し操作で戻る秒数です。";
inline constexpr const char* kFowTimeCaption = "早送り秒数";
inline constexpr const char* kFowTimeExplanation = "1回の早送り操作で進む秒数です。";
inline constexpr const char* kSeconds = "秒";

// The shortcut-key tab.
inline constexpr const char* kMessageNormal = "＊テキストボックスを選んで，任意のキーを入力してください。";
inline constexpr const char* kMessageDuplicate = "＊重複したキー設定があります。";
inline constexpr const char* kDiscardHeader = "キーの破棄";
inline constexpr std::array<const char*, 8> kRowCaptions{
    "再生・一時停止", "停止", "速度アップ", "速度ダウン", "早送り", "巻き戻し", "リピート開始位置", "リピート終了位置",
};

// The foot pedal tab: the pedals, in the order left, middle, right, and the
// actions they can be given, in the order of pedalChoices() (player/PedalMapping.h).
inline constexpr const char* kPedalExplanation =
    "USB フットペダル（VEC Infinity）の各ペダルで行う操作です。\n早送りと巻き戻しは踏んでいる間くり返します。";
inline constexpr std::array<const char*, 3> kPedalNames{"左ペダル", "中央ペダル", "右ペダル"};
inline constexpr std::array<const char*, 12> kPedalChoices{
    "なし",       "踏んでいる間だけ再生", "再生・一時停止", "再生",     "一時停止",         "停止",
    "速度アップ", "速度ダウン",           "早送り",         "巻き戻し", "リピート開始位置", "リピート終了位置",
};

}  // namespace lirabox::settings::text
