// The source tree's layering, read from the sources themselves: every
// #include "…" points down the layers, toolkit code stays in the front ends,
// and our headers are named from the one include root.
//
// Layers, from the top: app/qt and app/win32 (the front ends) → app/ (the
// composition root both front ends share) → hotkeys/ →
// settings/, oneline/ → player/ → player/media/ → support/. keytap/ and
// timepost/ are libraries of their own that include nothing of ours.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = LIRABOX_SOURCE_DIR;
const fs::path kQtHeaders = LIRABOX_QT_HEADERS;

struct Area {
    std::string folder;  // from the project root, without a trailing slash
    int rank;            // higher may include lower; -1: includes only itself
};

// Longest folder first, so player/media wins over player.
const std::array kAreas {
    Area {"app/qt", 6},
    Area {"app/win32", 6},
    Area {"app", 5},
    Area {"hotkeys", 4},
    Area {"settings", 3},
    Area {"oneline", 3},
    Area {"player/media", 1},
    Area {"player", 2},
    Area {"support", 0},
    Area {"keytap", -1},
    Area {"timepost", -1},
};

std::optional<Area> areaOf(const std::string& path) {
    for (const Area& area : kAreas) {
        if (path.starts_with(area.folder + "/")) return area;
    }
    return std::nullopt;
}

struct Include {
    std::string file;  // includer, from the root
    int line;
    std::string target;
    bool quoted;
};

std::vector<std::string> sourceFiles() {
    std::vector<std::string> files;
    for (const char* top : {"app", "hotkeys", "keytap", "oneline", "player", "settings", "support", "timepost"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / top)) {
            const auto extension = entry.path().extension();
            if (entry.is_regular_file() && (extension == ".cpp" || extension == ".h")) {
                files.push_back(fs::relative(entry.path(), kRoot).generic_string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<Include> includesOf(const std::string& file) {
    static const std::regex pattern(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<Include> found;
    std::ifstream in(kRoot / file);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::smatch match;
        if (std::regex_search(text, match, pattern)) found.push_back({file, line, match[2], match[1] == "\""});
    }
    return found;
}

std::string where(const Include& include) {
    return include.file + ":" + std::to_string(include.line) + ": " + include.target;
}

// Where a quoted include lands: beside the includer, else from the root.
std::optional<std::string> resolve(const Include& include) {
    const fs::path beside = fs::path(include.file).parent_path() / include.target;
    if (fs::exists(kRoot / beside)) return beside.lexically_normal().generic_string();
    if (fs::exists(kRoot / include.target)) return fs::path(include.target).lexically_normal().generic_string();
    return std::nullopt;
}

// Why an include of `to` from `from` breaks the layering, or nothing.
std::optional<std::string> violation(const Area& from, const Area& to) {
    if (from.folder == to.folder) return std::nullopt;
    if (from.rank < 0) return from.folder + " includes nothing of ours";
    if (to.rank < 0) return std::nullopt;  // Keytap's and Timepost's headers serve everyone
    if (to.rank >= from.rank) return from.folder + " may not include " + to.folder;
    return std::nullopt;
}

bool isToolkitHeader(const std::string& name) {
    for (const char* module : {"QtGui", "QtWidgets"}) {
        if (name.starts_with(std::string(module) + "/") || fs::exists(kQtHeaders / module / name)) return true;
    }
    return false;
}

TEST(SourceLayout, EveryIncludeOfOursPointsDownTheLayersFromTheOneRoot) {
    std::vector<std::string> faults;
    for (const std::string& file : sourceFiles()) {
        const auto from = areaOf(file);
        for (const Include& include : includesOf(file)) {
            if (!include.quoted) continue;
            const auto target = resolve(include);
            if (!target) {
                faults.push_back(where(include) + " (found neither beside the file nor from the project root)");
                continue;
            }
            const auto to = areaOf(*target);
            if (!from || !to) continue;
            if (const auto why = violation(*from, *to)) faults.push_back(where(include) + " (" + *why + ")");
        }
    }
    EXPECT_TRUE(faults.empty()) << [&] {
        std::string all;
        for (const auto& fault : faults) all += fault + "\n";
        return all;
    }();
}

TEST(SourceLayout, WindowsAndWidgetsAreBuiltOnlyInTheFrontEnds) {
    static const std::regex windowCalls(R"(\b(CreateWindow(Ex)?[AW]?|RegisterClass(Ex)?[AW]?|DialogBox\w*)\s*\()");
    std::vector<std::string> faults;
    for (const std::string& file : sourceFiles()) {
        if (file.starts_with("app/")) continue;
        for (const Include& include : includesOf(file)) {
            if (!include.quoted && isToolkitHeader(include.target)) faults.push_back(where(include));
        }
        std::ifstream in(kRoot / file);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            if (std::regex_search(text, windowCalls)) faults.push_back(file + ":" + std::to_string(line) + ": " + text);
        }
    }
    EXPECT_TRUE(faults.empty()) << [&] {
        std::string all;
        for (const auto& fault : faults) all += fault + "\n";
        return all;
    }();
}

}  // namespace
