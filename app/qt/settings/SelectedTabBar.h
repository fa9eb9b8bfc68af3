#pragma once
// The settings dialog's tabs as assistive technology sees them: each tab a
// page tab that tells whether it is the selected one, which Qt's own tab bar
// does not, and that a screen reader can press. UI thread only.

#include <QTabBar>
#include <QTabWidget>

namespace lirabox::settings::qt {

class SelectedTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit SelectedTabBar(QWidget* parent = nullptr);
};

// A tab widget over a SelectedTabBar.
class SettingsTabs : public QTabWidget {
    Q_OBJECT
public:
    explicit SettingsTabs(QWidget* parent = nullptr);
};

}  // namespace lirabox::settings::qt
