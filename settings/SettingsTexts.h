#pragma once
// Every text the settings dialog shows, in one place.

#include <array>

#include "support/UiText.h"

namespace lirabox::settings::text {

// Tab titles; the dialog's caption follows the selected tab.
inline constexpr UiText kPlaybackTab = LIRABOX_TEXT("frmSettings", "再生設定");
inline constexpr UiText kShortcutKeyTab = LIRABOX_TEXT("frmSettings", "ショートカットキー設定");
inline constexpr UiText kFootPedalTab = LIRABOX_TEXT("frmSettings", "フットペダル");
inline constexpr UiText kFootPedalCaption = LIRABOX_TEXT("frmSettings", "フットペダル設定");

inline constexpr UiText kTopMost = LIRABOX_TEXT("frmSettings", "常に手前に表示");
inline constexpr UiText kApply = LIRABOX_TEXT("frmSettings", "適用");
inline constexpr UiText kOK = LIRABOX_TEXT("frmSettings", "OK");
inline constexpr UiText kCancel = LIRABOX_TEXT("frmSettings", "キャンセル");

// The playback tab: caption and explanation of each step box, and the unit.
inline constexpr UiText kAutRevCaption = LIRABOX_TEXT("frmSettings", "再生時自動戻り秒数");
inline constexpr UiText kAutRevExplanation =
    LIRABOX_TEXT("frmSettings", "一時停止後、自動で巻き戻しを行う秒数を指定してください。");
inline constexpr UiText kRevTimeCaption = LIRABOX_TEXT("frmSettings", "巻き戻し秒数");
inline constexpr UiText kRevTimeExplanation = LIRABOX_TEXT("frmSettings", "1回の巻き戻し操作で戻る秒数です。");
inline constexpr UiText kFowTimeCaption = LIRABOX_TEXT("frmSettings", "早送り秒数");
inline constexpr UiText kFowTimeExplanation = LIRABOX_TEXT("frmSettings", "1回の早送り操作で進む秒数です。");
inline constexpr UiText kSeconds = LIRABOX_TEXT("frmSettings", "秒");
inline constexpr UiText kTimeStampFormatCaption = LIRABOX_TEXT("frmSettings", "タイムスタンプの形式");
// Its second line: the key must match exactly, so a held Shift means no stamp.
inline constexpr UiText kTimeStampFormatExplanation = LIRABOX_TEXT(
    "frmSettings",
    "タイムスタンプ挿入で入力される再生位置の形式です。\nタイムスタンプのキーは単独で押してください。Shift などを押したままでは入力されません。");
// Levelling: a check box, and its explanation under it.
inline constexpr UiText kEvenLoudness = LIRABOX_TEXT("frmSettings", "音量を均一にする");
inline constexpr UiText kEvenLoudnessExplanation =
    LIRABOX_TEXT("frmSettings", "小さい声を大きく、大きい声を小さくして、話し手の音量をそろえます。");

// The shortcut-key tab.
inline constexpr UiText kMessageNormal =
    LIRABOX_TEXT("frmSettings", "＊テキストボックスを選んで，任意のキーを入力してください。");
inline constexpr UiText kMessageDuplicate = LIRABOX_TEXT("frmSettings", "＊重複したキー設定があります。");
// The playback tab's resume box.
inline constexpr UiText kResume = LIRABOX_TEXT("frmSettings", "再開位置を記憶する");
inline constexpr UiText kSuggestedKeys = LIRABOX_TEXT("frmSettings", "おすすめのキーを入れる");
inline constexpr UiText kSuggestedKeysHint = LIRABOX_TEXT(
    "frmSettings", "空いている行にファンクションキーを入れます（キーの破棄あり）。OK か適用で保存されます。");
inline constexpr UiText kDiscardHeader = LIRABOX_TEXT("frmSettings", "キーの破棄");
// How the keys reach the program, after kKeyRouteCaption; kKeyRouteOff is
// followed by the reason.
inline constexpr UiText kKeyRouteCaption = LIRABOX_TEXT("frmSettings", "キーの受け取り方：");
inline constexpr UiText kKeyRouteWatcher = LIRABOX_TEXT("frmSettings", "X11 キーボード監視");
inline constexpr UiText kKeyRoutePortal = LIRABOX_TEXT("frmSettings", "デスクトップのショートカット（ポータル）");
inline constexpr UiText kKeyRouteOff = LIRABOX_TEXT("frmSettings", "オフ：");
// Desktop shortcuts: the keys the desktop gave, and why discarding cannot be chosen.
inline constexpr UiText kDesktopKeyHeader = LIRABOX_TEXT("frmSettings", "デスクトップのキー");
inline constexpr UiText kDiscardByDesktop = LIRABOX_TEXT(
    "frmSettings", "デスクトップのショートカットは、キーを入力中のプログラムに渡しません。そのため破棄は選べません。");
inline constexpr UiText kTimeStampRowCaption = LIRABOX_TEXT("frmSettings", "タイムスタンプ挿入");
inline constexpr std::array<UiText, 10> kRowCaptions {
    LIRABOX_TEXT("frmSettings", "再生・一時停止"),
    LIRABOX_TEXT("frmSettings", "停止"),
    LIRABOX_TEXT("frmSettings", "速度アップ"),
    LIRABOX_TEXT("frmSettings", "速度ダウン"),
    LIRABOX_TEXT("frmSettings", "早送り"),
    LIRABOX_TEXT("frmSettings", "巻き戻し"),
    LIRABOX_TEXT("frmSettings", "リピート開始位置"),
    LIRABOX_TEXT("frmSettings", "リピート終了位置"),
    kTimeStampRowCaption,
    LIRABOX_TEXT("frmSettings", "タイムスタンプへ移動"),
};

// The foot pedal tab: the pedals, in the order left, middle, right, and the
// actions they can be given, in the order of pedalChoices() (player/PedalMapping.h).
inline constexpr UiText kPedalExplanation = LIRABOX_TEXT(
    "frmSettings",
    "USB フットペダル（VEC Infinity）の各ペダルで行う操作です。\n早送りと巻き戻しは踏んでいる間くり返します。");
inline constexpr std::array<UiText, 3> kPedalNames {LIRABOX_TEXT("frmSettings", "左ペダル"),
                                                    LIRABOX_TEXT("frmSettings", "中央ペダル"),
                                                    LIRABOX_TEXT("frmSettings", "右ペダル")};
inline constexpr std::array<UiText, 12> kPedalChoices {
    LIRABOX_TEXT("frmSettings", "なし"),
    LIRABOX_TEXT("frmSettings", "踏んでいる間だけ再生"),
    LIRABOX_TEXT("frmSettings", "再生・一時停止"),
    LIRABOX_TEXT("frmSettings", "再生"),
    LIRABOX_TEXT("frmSettings", "一時停止"),
    LIRABOX_TEXT("frmSettings", "停止"),
    LIRABOX_TEXT("frmSettings", "速度アップ"),
    LIRABOX_TEXT("frmSettings", "速度ダウン"),
    LIRABOX_TEXT("frmSettings", "早送り"),
    LIRABOX_TEXT("frmSettings", "巻き戻し"),
    LIRABOX_TEXT("frmSettings", "リピート開始位置"),
    LIRABOX_TEXT("frmSettings", "リピート終了位置"),
};

}  // namespace lirabox::settings::text
