#include "PlayButton.h"

#include <QPushButton>

#include "ControlIcons.h"

namespace lirabox::qt {
namespace {

const char* const kPlayText = "再生";
const char* const kPauseText = "一時停止";

}  // namespace

PlayButton::PlayButton(QPushButton& button) : mButton(button) { playingChanged(false); }

void PlayButton::playingChanged(bool playing) {
    const QString text = QString::fromUtf8(playing ? kPauseText : kPlayText);
    mButton.setIcon(playing ? pauseIcon(*mButton.style()) : playIcon(*mButton.style()));
    mButton.setToolTip(text);
    mButton.setAccessibleName(text);
}

}  // namespace lirabox::qt
