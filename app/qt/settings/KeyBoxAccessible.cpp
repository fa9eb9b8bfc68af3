#include "KeyBoxAccessible.h"

#include <QAccessibleWidget>
#include <QLineEdit>

#include "KeyBox.h"

namespace lirabox::settings::qt {
namespace {

class KeyBoxInterface final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit KeyBoxInterface(KeyBox& box) : QAccessibleWidget(&box, QAccessible::EditableText), mBox(box) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? mBox.text() : QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.editable = false;
        return state;
    }

    // The key's name as text: read, never selected or typed.
    QString text(int start, int end) const override { return mBox.text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(mBox.text().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    KeyBox& mBox;
};

}  // namespace

QAccessibleInterface* keyBoxAccessible(const QString&, QObject* object) {
    auto* box = qobject_cast<KeyBox*>(object);
    return box == nullptr ? nullptr : new KeyBoxInterface(*box);
}

}  // namespace lirabox::settings::qt
