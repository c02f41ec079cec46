#pragma once

#include <QObject>

#include <functional>
#include <map>

namespace velmor::shortcuts {

// While one of our menus is open it holds the keyboard, so the desktop delivers no hot keys.
// This application-wide filter takes their place: it hands key events to `handle` (virtual key
// code, Carbon modifiers, pressed) and swallows those it accepts; other keys reach the menu.
class MenuKeyFilter final : public QObject {
public:
    using IsHotKey = std::function<bool(int keyCode, int carbonModifiers)>;
    using Handle = std::function<bool(int keyCode, int carbonModifiers, bool pressed)>;

    // Installs itself on the application; removed when destroyed.
    MenuKeyFilter(IsHotKey isHotKey, Handle handle);
    ~MenuKeyFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IsHotKey isHotKey_;
    Handle handle_;
    // Keys that went down as a hot key, with the modifiers of that press: the release belongs
    // to the hot key even when a modifier was let go first.
    std::map<quint32, int> down_;
};

} // namespace velmor::shortcuts
