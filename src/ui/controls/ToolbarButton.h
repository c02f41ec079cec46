#pragma once

#include <QAbstractButton>

#include <functional>

namespace velmor::ui {

class HoverFade;

// A compact icon-and-text button drawn by the app: a symbol (10 pt) and a label in Lora 12 pt,
// both secondary, on a faint fill that fades in while the pointer is over it. Tab reaches it,
// Space and Return press it; its accessible name is the label.
class ToolbarButton final : public QAbstractButton {
    Q_OBJECT
public:
    // `icon` is a symbol name ("square.and.arrow.up", ...); `action` runs on every click.
    ToolbarButton(const QString& label, const QString& icon, std::function<void()> action,
                  QWidget* parent = nullptr);

    QString label() const { return text(); }
    QString icon() const { return icon_; }
    bool isHovered() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString icon_;
    std::function<void()> action_;
    HoverFade* hover_;
};

} // namespace velmor::ui
