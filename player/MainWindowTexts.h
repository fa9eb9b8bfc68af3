#pragma once
// The main window's captions, tooltips and menu items, shared by its front
// ends.

#include "support/UiText.h"

namespace lirabox::texts {

// The buttons' tooltips and accessible names (the play button's follow the play state).
inline constexpr UiText kPlay = LIRABOX_TEXT("frmMain", "再生");
inline constexpr UiText kPause = LIRABOX_TEXT("frmMain", "一時停止");
inline constexpr UiText kStop = LIRABOX_TEXT("frmMain", "停止");
inline constexpr UiText kOpen = LIRABOX_TEXT("frmMain", "開く");
inline constexpr UiText kRewind = LIRABOX_TEXT("frmMain", "巻き戻し");
inline constexpr UiText kForward = LIRABOX_TEXT("frmMain", "早送り");
inline constexpr UiText kSeekBar = LIRABOX_TEXT("frmMain", "再生位置");
inline constexpr UiText kVolume = LIRABOX_TEXT("frmMain", "音量");
// The controls' captions.
inline constexpr UiText kNoFile = LIRABOX_TEXT("frmMain", "ファイルがありません");
inline constexpr UiText kSpeedUp = LIRABOX_TEXT("frmMain", "↑ up ");
inline constexpr UiText kSpeedDown = LIRABOX_TEXT("frmMain", "↓down");
inline constexpr UiText kSpeed = LIRABOX_TEXT("frmMain", "Speed");
inline constexpr UiText kUseKey = LIRABOX_TEXT("frmMain", "ショートカットキーを有効にする");
inline constexpr UiText kOnTop = LIRABOX_TEXT("frmMain", "常に手前に表示");
// The File menu.
inline constexpr UiText kFileMenu = LIRABOX_TEXT("frmMain", "ファイル");
inline constexpr UiText kSpeedUpItem = LIRABOX_TEXT("frmMain", "再生速度アップ");
inline constexpr UiText kSpeedDownItem = LIRABOX_TEXT("frmMain", "再生速度ダウン");
inline constexpr UiText kTimeStampItem = LIRABOX_TEXT("frmMain", "タイムスタンプ挿入");
inline constexpr UiText kGoToTimeItem = LIRABOX_TEXT("frmMain", "指定時間へ移動…");
// The go-to-time dialog's prompt.
inline constexpr UiText kGoToTimePrompt = LIRABOX_TEXT("frmMain", "移動先の時間 (hh:mm:ss、mm:ss、ss):");
inline constexpr UiText kQuitItem = LIRABOX_TEXT("frmMain", "終了");
// The settings menu: the settings dialog on its playback or shortcut-key tab.
inline constexpr UiText kSettingsMenu = LIRABOX_TEXT("frmMain", "設定");
inline constexpr UiText kPlaybackSettings = LIRABOX_TEXT("frmMain", "再生設定");
inline constexpr UiText kShortcutKeySettings = LIRABOX_TEXT("frmMain", "ショートカットキー設定");
// The View menu, the one-line window's popup (its quit item is kQuitItem, its
// always-on-top items kOnTop) and the Help menu. Alt+Enter is handled by the
// windows, not by the menu: it is only named.
inline constexpr UiText kViewMenu = LIRABOX_TEXT("frmMain", "表示");
inline constexpr UiText kToLineModeItem = LIRABOX_TEXT("frmMain", "1行モード          Alt+Enter");
inline constexpr UiText kOneLineMenu = LIRABOX_TEXT("frmMain", "1行モード");
inline constexpr UiText kToFullModeItem = LIRABOX_TEXT("frmMain", "フルモード");
inline constexpr UiText kHelpMenu = LIRABOX_TEXT("frmMain", "ヘルプ");
inline constexpr UiText kContentsItem = LIRABOX_TEXT("frmMain", "目次");
inline constexpr UiText kVersionItem = LIRABOX_TEXT("frmMain", "バージョン情報");

}  // namespace lirabox::texts
