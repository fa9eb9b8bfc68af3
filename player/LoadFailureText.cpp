#include "LoadFailureText.h"

#include "frmMain.h"
#include "player/media/MediaEngine.h"
#include "player/media/RecordingPath.h"
#include "support/RaisedError.h"
#include "support/UiText.h"

namespace lirabox {
namespace {

constexpr UiText kNoSuchFile = LIRABOX_TEXT("frmMain", "ファイルが存在しません。");
constexpr UiText kCannotRead = LIRABOX_TEXT("frmMain", "Lirabox はこのファイルを読み込めません。");
constexpr UiText kNotARecording = LIRABOX_TEXT("frmMain", "Lirabox で再生できる録音ではありません。");

// Empty where the failure lies with neither the file nor what it holds (a
// load that timed out, a length the time label cannot show).
std::string reasonFor(std::int32_t number, const std::string& path) {
    if (number == kObjectErrorBase + media::kErrNotPlayable) return shown(kNotARecording);
    switch (media::pathProblem(path)) {
    case media::PathProblem::NoName:
    case media::PathProblem::Missing: return shown(kNoSuchFile);
    case media::PathProblem::Folder:
    case media::PathProblem::NotPlainFile:
    case media::PathProblem::Unreadable: return shown(kCannotRead);
    case media::PathProblem::None: break;
    }
    return number == kObjectErrorBase + media::kErrCannotOpen ? shown(kNotARecording) : std::string();
}

}  // namespace

std::string LoadFailureText(std::int32_t number, const std::string& path) {
    std::string text = frmMain::ErrorMessageText(number) + "\r\n" + path;
    if (const std::string reason = reasonFor(number, path); !reason.empty()) text += "\r\n" + reason;
    return text;
}

}  // namespace lirabox
