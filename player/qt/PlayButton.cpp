#include "PlayButton.h"

#include <QPushButton>

#include "Catalogue.h"
#include "ControlIcons.h"

namespace lirabox::qt {
namespace {

constexpr UiText kPlayText = LIRABOX_TEXT("frmMain", "再生");
constexpr UiText kPauseText = LIRABOX_TEXT("frmMain", "一時停止");

}  // namespace

PlayButton::PlayButton(QPushButton& button) : mButton(button) { playingChanged(false); }

void PlayButton::playingChanged(bool playing) {
    const QString text = uiText(playing ? kPauseText : kPlayText);
    mButton.setIcon(playing ? pauseIcon(*mButton.style()) : playIcon(*mButton.style()));
    mButton.setToolTip(text);
    mButton.setAccessibleName(text);
}

}  // namespace lirabox::qt
