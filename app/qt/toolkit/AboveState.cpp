#include "AboveState.h"

#include "Catalogue.h"
#include "WaylandClient.h"

#include <QAction>
#include <QWidget>

namespace lirabox::qt {

bool desktopKeepsWindowsAbove() { return !isWaylandClient(); }

void markAboveUnavailable(QWidget& checkBox) {
    checkBox.setEnabled(false);
    checkBox.setToolTip(uiText(kAboveUnavailable));
    checkBox.setAccessibleDescription(uiText(kAboveUnavailable));
}

void markAboveUnavailable(QAction& item) {
    item.setEnabled(false);
    item.setText(uiText(kAboveUnavailableItem));
    item.setToolTip(uiText(kAboveUnavailable));
}

}  // namespace lirabox::qt
