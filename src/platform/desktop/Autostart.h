#pragma once

#include "core/screens/GeneralRules.h"

#include <QString>

namespace velmor {

// Launch at login the XDG way: $XDG_CONFIG_HOME/autostart/app.velmor.Velmor.desktop, named
// after the program's desktop entry as desktops name the entries they write. Earlier versions
// wrote velmor.desktop; it is still read, and replaced whenever the entry is written.
// Enabled means the entry exists, is neither Hidden=true nor X-GNOME-Autostart-enabled=false,
// and the program it starts is there.
class XdgAutostart final : public LoginItem {
public:
    // The entry starts `program` (by default the running program's absolute path).
    explicit XdgAutostart(QString program = QString());

    static QString entryPath();
    static QString olderEntryPath();
    bool isEnabled() const override;
    bool registerItem() override;
    bool unregisterItem() override;

    // At start: an enabled entry that an older version wrote or whose program has gone is
    // written anew for this program, as is one for a build folder once this program is the
    // installed one on PATH; one that starts another program that is there is left alone.
    // Returns what was done or found, for the log, or nothing when the entry is fine.
    QString review();

    // What the entry runs: `velmor --background` when the `velmor` found on PATH is this
    // program, else this program's absolute path with --background.
    QString execLine() const;
    // The Exec value for a program path, quoted and escaped as desktop entries require.
    static QString execValue(const QString& program);
    // The program an Exec value starts (its first word, unquoted and unescaped).
    static QString programOf(const QString& execValue);

private:
    // The program found on PATH under this program's name is this program.
    bool isInstalled() const;

    QString program_;
};

} // namespace velmor
