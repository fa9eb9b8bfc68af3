#pragma once
// A drop-down list that assistive technology knows by its label: Qt names a
// list by the item it shows on Linux, so a screen reader said "Rewind" for the
// left pedal's list. This one is named by its accessible name (the label's
// text); the item it shows is its value and description. UI thread only.

#include <QComboBox>

namespace lirabox::qt {

class NamedComboBox : public QComboBox {
    Q_OBJECT
public:
    // name: what a screen reader calls the list.
    explicit NamedComboBox(const QString& name, QWidget* parent = nullptr);
};

}  // namespace lirabox::qt
