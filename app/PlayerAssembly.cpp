#include "PlayerAssembly.h"

#include "support/AppPaths.h"
#include "support/ConfigFiles.h"
#include "support/DesktopServices.h"
#include "support/Utf8Path.h"

namespace lirabox {

PlayerAssembly::PlayerAssembly(FrontEnd frontEnd)
    : mKeys(frontEnd.keys != nullptr ? *frontEnd.keys : static_cast<KeytapApi&>(mKeytapBinding)),
      mForm(frmMain::Collaborators {frontEnd.engine,
                                    frontEnd.view,
                                    frontEnd.seekbk,
                                    frontEnd.seekpoint,
                                    frontEnd.volbk,
                                    frontEnd.picArrow,
                                    &frontEnd.windowServices,
                                    mTimepost,
                                    mInstance,
                                    mKeys,
                                    frontEnd.subclass,
                                    nullptr}),
      mSettingsDialog(frontEnd.makeSettingsDialog(
          {mForm, frontEnd.mainWindow, mKeys, frontEnd.subclass, systemDesktopServices(), frontEnd.keyLegend})),
      mMenus(mForm, frontEnd.view, frontEnd.modes),
      mTyper(frontEnd.typer ? std::move(frontEnd.typer) : desktopTextTyper()),
      mSelection(std::move(frontEnd.selection)),
      mPedalActions([this] { return mForm.pedal_mapping(); }, [this](Command command) { mForm.runCommand(command); }),
      mPedals(mPedalActions), mSeekEnvelope(frontEnd.engine, pathFromUtf8(programFolder()) / config::kEnvelopeFile) {
    mForm.setSettingsDialog(mSettingsDialog.get());
    mForm.setMenuHandlers(&mMenus);
    mForm.setTextTyper(mTyper.get());
    mForm.setRunningCopy(frontEnd.runningCopy);
    mForm.setSelectionReader(mSelection.get());
    frontEnd.subclass.setKeyMessageHandler([this](std::int32_t slot) { mForm.KeyMessage(slot); });
    mForm.addListener(mSeekEnvelope);
}

PlayerAssembly::~PlayerAssembly() { mForm.removeListener(mSeekEnvelope); }

std::optional<int> PlayerAssembly::start(const std::string& argumentText) {
    if (!mForm.Form_Load(argumentText)) return mForm.handedOver() ? 0 : 1;
    mPedals.start();
    return std::nullopt;
}

}  // namespace lirabox
