#pragma once
// The play button shows what a click will do: play while the player is not
// playing, pause while it is.

#include "player/PlayerListener.h"

class QPushButton;

namespace lirabox::qt {

class PlayButton final : public PlayerListener {
public:
    // Shows the play state of a player that is not playing.
    explicit PlayButton(QPushButton& button);

    void playingChanged(bool playing) override;

private:
    QPushButton& mButton;
};

}  // namespace lirabox::qt
