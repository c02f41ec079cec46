#pragma once

#include "core/screens/GeneralRules.h"

#include <QString>

namespace velmor {

// Launch at login the XDG way: $XDG_CONFIG_HOME/autostart/velmor.desktop. Enabled means the
// entry exists and is not Hidden=true.
class XdgAutostart final : public LoginItem {
public:
    // The entry starts `executable` (by default the running program's absolute path).
    explicit XdgAutostart(QString executable = QString());

    static QString entryPath();
    bool isEnabled() const override;
    bool registerItem() override;
    bool unregisterItem() override;

    // The Exec value for a program path, quoted and escaped as desktop entries require.
    static QString execValue(const QString& program);

private:
    QString executable_;
};

} // namespace velmor
