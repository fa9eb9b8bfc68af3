#pragma once
// Every text the settings dialog shows, in one place.

#include <array>

namespace lirabox::settings::text {

// Tab titles; the dialog's caption follows the selected tab.
inline constexpr const char* kPlaybackTab = "再生設定";
inline constexpr const char* kShortcutKeyTab = "ショートカットキー設定";

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
inline constexpr const char* kTimeStampFormatCaption = "タイムスタンプの形式";
inline constexpr const char* kTimeStampFormatExplanation = "タイムスタンプ挿入で入力される再生位置の形式です。";

// The shortcut-key tab.
inline constexpr const char* kMessageNormal = "＊テキストボックスを選んで，任意のキーを入力してください。";
inline constexpr const char* kMessageDuplicate = "＊重複したキー設定があります。";
inline constexpr const char* kDiscardHeader = "キーの破棄";
inline constexpr const char* kTimeStampRowCaption = "タイムスタンプ挿入";
inline constexpr std::array<const char*, 9> kRowCaptions{
    "再生・一時停止", "停止", "速度アップ", "速度ダウン", "早送り", "巻き戻し", "リピート開始位置", "リピート終了位置",
    kTimeStampRowCaption,
};

}  // namespace lirabox::settings::text
