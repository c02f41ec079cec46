#pragma once

#include <QObject>
#include <QSet>

namespace velmor::shortcuts {

// Tells when the first of the application's menus opens and the last one closes. It watches
// show and hide events of every QMenu through an application event filter, so menus need not
// be announced one by one.
class MenuTracker final : public QObject {
    Q_OBJECT
public:
    MenuTracker(); // installs itself on the application
    ~MenuTracker() override;

    bool isMenuOpen() const { return !openMenus_.isEmpty(); }

signals:
    void menuOpenChanged(bool open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void closed(QObject* menu);

    QSet<QObject*> openMenus_;
};

} // namespace velmor::shortcuts
