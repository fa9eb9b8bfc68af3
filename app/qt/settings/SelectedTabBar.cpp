#include "SelectedTabBar.h"

#include <vector>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

namespace lirabox::settings::qt {
namespace {

// One tab of the bar; it lives in Qt's registry of interfaces, dropped by the bar's interface.
class TabInterface final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabInterface(QAccessibleInterface& barInterface, QTabBar& bar, int index)
        : mBarInterface(barInterface), mBar(&bar), mIndex(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    bool isValid() const override { return mBar && mIndex < mBar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return mBarInterface.window(); }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return &mBarInterface; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text kind) const override {
        if (!isValid()) return {};
        if (kind == QAccessible::Name) return mBar->tabText(mIndex).remove(QLatin1Char('&'));
        if (kind == QAccessible::Description) return mBar->tabToolTip(mIndex);
        return {};
    }

    QRect rect() const override {
        if (!isValid()) return {};
        const QRect place = mBar->tabRect(mIndex);
        return QRect(mBar->mapToGlobal(place.topLeft()), place.size());
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) return state;
        const bool current = mBar->currentIndex() == mIndex;
        state.focusable = true;
        state.selectable = true;
        state.selected = current;
        state.focused = current && mBar->hasFocus();
        state.disabled = !mBar->isTabEnabled(mIndex);
        state.invisible = !mBar->isVisible() || !mBar->isTabVisible(mIndex);
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && isValid()) mBar->setCurrentIndex(mIndex);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QAccessibleInterface& mBarInterface;
    QPointer<QTabBar> mBar;
    int mIndex;
};

class TabBarInterface final : public QAccessibleWidget {
public:
    explicit TabBarInterface(QTabBar& bar) : QAccessibleWidget(&bar, QAccessible::PageTabList) {}
    ~TabBarInterface() override {
        for (const QAccessible::Id id : mTabs) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar().count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= bar().count()) return nullptr;
        while (static_cast<int>(mTabs.size()) <= index) {
            auto* tab = new TabInterface(*const_cast<TabBarInterface*>(this), bar(), static_cast<int>(mTabs.size()));
            mTabs.push_back(QAccessible::registerAccessibleInterface(tab));
        }
        return QAccessible::accessibleInterface(mTabs[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t index = 0; index < mTabs.size(); ++index) {
            if (QAccessible::accessibleInterface(mTabs[index]) == child) return static_cast<int>(index);
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = bar().tabAt(bar().mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? bar().accessibleName() : QAccessibleWidget::text(kind);
    }

private:
    QTabBar& bar() const { return static_cast<QTabBar&>(*widget()); }

    mutable std::vector<QAccessible::Id> mTabs;
};

QAccessibleInterface* tabBarAccessible(const QString&, QObject* object) {
    auto* bar = qobject_cast<SelectedTabBar*>(object);
    return bar == nullptr ? nullptr : new TabBarInterface(*bar);
}

}  // namespace

SelectedTabBar::SelectedTabBar(QWidget* parent) : QTabBar(parent) {
    static const bool installed = (QAccessible::installFactory(&tabBarAccessible), true);
    (void)installed;
    // A screen reader hears which tab is now selected.
    connect(this, &QTabBar::currentChanged, this, [this](int index) {
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(this);
        if (bar == nullptr || index < 0) return;
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(bar->child(index), changed);
        QAccessible::updateAccessibility(&event);
    });
}

SettingsTabs::SettingsTabs(QWidget* parent) : QTabWidget(parent) { setTabBar(new SelectedTabBar(this)); }

}  // namespace lirabox::settings::qt
