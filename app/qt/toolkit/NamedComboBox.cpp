#include "NamedComboBox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>

namespace lirabox::qt {
namespace {

class NamedComboBoxInterface final : public QAccessibleWidget {
public:
    explicit NamedComboBoxInterface(NamedComboBox& box) : QAccessibleWidget(&box, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text kind) const override {
        const auto& box = static_cast<const QComboBox&>(*widget());
        switch (kind) {
        case QAccessible::Name: return box.accessibleName();
        case QAccessible::Value:
        case QAccessible::Description: return box.currentText();
        default: return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.collapsed = !static_cast<const QComboBox&>(*widget()).view()->isVisible();
        state.expanded = !state.collapsed;
        return state;
    }

    QStringList actionNames() const override {
        return {QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction()};
    }
    void doAction(const QString& action) override {
        if (action == QAccessibleActionInterface::showMenuAction() ||
            action == QAccessibleActionInterface::pressAction()) {
            static_cast<QComboBox&>(*widget()).showPopup();
        }
    }
};

QAccessibleInterface* namedComboBoxAccessible(const QString&, QObject* object) {
    auto* box = qobject_cast<NamedComboBox*>(object);
    return box == nullptr ? nullptr : new NamedComboBoxInterface(*box);
}

}  // namespace

NamedComboBox::NamedComboBox(const QString& name, QWidget* parent) : QComboBox(parent) {
    static const bool installed = (QAccessible::installFactory(&namedComboBoxAccessible), true);
    (void)installed;
    setAccessibleName(name);
}

}  // namespace lirabox::qt
