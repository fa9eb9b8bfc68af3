#include "PlayButton.h"

#include <QPushButton>

#include "ControlIcons.h"
#include "app/qt/toolkit/Catalogue.h"
#include "player/MainWindowTexts.h"

namespace lirabox::qt {

PlayButton::PlayButton(QPushButton& button) : mButton(button) { playingChanged(false); }

void PlayButton::playingChanged(bool playing) {
    const QString text = uiText(playing ? texts::kPause : texts::kPlay);
    mButton.setIcon(playing ? pauseIcon(*mButton.style()) : playIcon(*mButton.style()));
    mButton.setToolTip(text);
    mButton.setAccessibleName(text);
}

}  // namespace lirabox::qt
