#pragma once

#include "core/shortcuts/GlobalShortcuts.h"

#include <QWidget>

#include <functional>
#include <optional>

namespace velmor {

namespace ui {
class HoverFade;
}

// The box in which the user records a global shortcut: it shows the stored combination, and
// while it has the keyboard focus it records one. Shortcuts are paused meanwhile; a refused
// combination beeps, one our menus or the desktop use is explained in an alert. Storing grabs
// the new combination at once and lets go of the old.
class ShortcutRecorder final : public QWidget {
    Q_OBJECT
public:
    using OnChange = std::function<void(const std::optional<shortcuts::Shortcut>&)>;

    ShortcutRecorder(shortcuts::Name name, OnChange onChange = {}, QWidget* parent = nullptr);
    ~ShortcutRecorder() override;

    // What the shortcut does ("Trigger velmoring"): a screen reader names the box by it and by
    // the shortcut it holds.
    void setTitle(const QString& title);

    bool isRecording() const { return recording_; }
    QString text() const { return text_; }
    QString placeholder() const;

    QSize sizeHint() const override;

    // The alerts ask through this (tests answer for the user): the message, the informative
    // text, and whether there is a second "Use Anyway" button; true when that one is chosen.
    using Alert =
        std::function<bool(const QString& text, const QString& informative, bool offersForce)>;
    void setAlert(Alert alert) { alert_ = std::move(alert); }

signals:
    void recordingChanged(bool recording);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void startRecording();
    void endRecording();
    void clearShortcut();
    bool showAlert(const QString& text, const QString& informative, bool offersForce);
    QRect clearButtonRect() const;

    shortcuts::Name name_;
    OnChange onChange_;
    Alert alert_;
    QString text_;
    QString title_;
    bool recording_ = false;
    bool inAlert_ = false;
};

} // namespace velmor
