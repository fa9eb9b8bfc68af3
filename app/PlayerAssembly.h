#pragma once
// The program's composition root, shared by every front end: it builds the
// player (frmMain), its menus, the settings dialog, the global keys' binding
// and handler, the time stamp's typer, the selection's reader, Timepost and the foot pedals, always in
// the same order, from the toolkit objects the front end hands it.
//
// Ownership: the assembly owns what it builds; the front end's objects it is
// handed (engine, window, pictures, services, subclass) must outlive it.
// Threads: built, started and destroyed on the UI thread.
// Errors: nothing is thrown here beyond what the parts' constructors throw.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "hotkeys/FootPedals.h"
#include "hotkeys/KeytapBinding.h"
#include "hotkeys/PedalActions.h"
#include "player/MainView.h"
#include "player/MenuHandlers.h"
#include "player/RunningCopy.h"
#include "player/SeekEnvelope.h"
#include "player/SelectionReader.h"
#include "player/SettingsDialogSeam.h"
#include "player/ShortcutKeyPorts.h"
#include "player/SingleInstance.h"
#include "player/SliderPicture.h"
#include "player/TextTyper.h"
#include "player/Timepost.h"
#include "player/WindowModeView.h"
#include "player/frmMain.h"
#include "player/media/MediaEngine.h"
#include "settings/frmSettings.h"
#include "support/WindowServices.h"

namespace lirabox {

class PlayerAssembly {
public:
    // Makes the front end's settings dialog over the plain settings form's parts.
    using SettingsDialogFactory =
        std::function<std::unique_ptr<SettingsDialogSeam>(const settings::frmSettings::Collaborators&)>;

    // What the front end hands over.
    struct FrontEnd {
        media::MediaEngine& engine;
        MainView& view;            // the main window
        WindowModeView& modes;     // its view modes (one-line window, always on top)
        SliderPicture& seekbk;     // seek bar
        SliderPicture& seekpoint;  // its arrow
        SliderPicture& volbk;      // volume bar
        SliderPicture& picArrow;   // its arrow
        WindowServices& windowServices;
        MainWindowSubclass& subclass;  // puts the key messages in front of the window's own handling
        std::uintptr_t mainWindow;
        settings::KeyLegend keyLegend;  // the key legends of the desktop's active layout
        SettingsDialogFactory makeSettingsDialog;
        // How the global keys reach the program; null: the Keytap library.
        KeytapApi* keys = nullptr;
        // How time stamps are typed; null: this desktop's typer (desktopTextTyper).
        std::unique_ptr<TextTyper> typer;
        // Where a second start hands its recording; null: it is refused.
        RunningCopy* runningCopy = nullptr;
        // How the jump to a time stamp reads the selection; null: it does nothing.
        std::unique_ptr<SelectionReader> selection;
    };

    explicit PlayerAssembly(FrontEnd frontEnd);
    ~PlayerAssembly();
    PlayerAssembly(const PlayerAssembly&) = delete;
    PlayerAssembly& operator=(const PlayerAssembly&) = delete;

    frmMain& form() noexcept { return mForm; }
    MenuHandlers& menus() noexcept { return mMenus; }
    // The seek bar's loudness envelope, which follows the form's loads.
    SeekEnvelope& seekEnvelope() noexcept { return mSeekEnvelope; }

    // Loads the form with the command line's text and starts the pedals.
    // Nothing once started; for a second instance the status the program ends
    // with at once: 0 when it handed its recording to the running copy, 1
    // when it was refused (its message has been shown).
    std::optional<int> start(const std::string& argumentText);

private:
    TimepostLibrary mTimepost;
    SingleInstance mInstance;
    hotkeys::KeytapBinding mKeytapBinding;
    KeytapApi& mKeys;
    frmMain mForm;
    std::unique_ptr<SettingsDialogSeam> mSettingsDialog;
    MenuHandlers mMenus;
    std::unique_ptr<TextTyper> mTyper;
    std::unique_ptr<SelectionReader> mSelection;
    hotkeys::PedalActions mPedalActions;
    hotkeys::FootPedals mPedals;
    SeekEnvelope mSeekEnvelope;
};

}  // namespace lirabox
