#pragma once
// Single-instance tool windows. Each kind of window is registered once under its
// name with a function that builds it; the registry loads it on first use, shows
// the same instance on every later pick, and forgets it when it closes, so the next
// pick builds it afresh. Windows are top-level, without an owner.
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace trelvik {

class WindowRegistry {
public:
    using Factory = std::function<QWidget*()>;

    ~WindowRegistry();

    // Registers (or replaces) the builder of a window kind.
    void add(const QString& name, Factory make);
    bool has(const QString& name) const { return factories_.contains(name); }
    // The loaded instance, or nullptr when the window is not loaded.
    QWidget* find(const QString& name) const;
    // The loaded instance, building it first if needed; not shown. nullptr for an
    // unregistered name.
    QWidget* load(const QString& name);
    // Loads the window if needed, shows it modeless and brings it to the front.
    QWidget* show(const QString& name);
    // Closes and destroys the window if it is loaded; no error otherwise. A window
    // whose close handling refuses stays loaded.
    void unload(const QString& name);
    // Unloads every loaded window.
    void unloadAll();

private:
    QHash<QString, Factory> factories_;
    QHash<QString, QPointer<QWidget>> loaded_;
};

} // namespace trelvik
