#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>

struct wl_callback;
struct zwlr_layer_surface_v1;

namespace velmor {

class LayerSurface;

// A connection of the program's own to the compositor, for what Qt cannot make: surfaces on the
// layer shell's overlay layer, over the whole of an output, above panels and full-screen
// windows. Its events are read on the main thread through a socket notifier; with no surface
// and no input, nothing wakes it.
class LayerShell final : public QObject {
    Q_OBJECT
public:
    // Null, with one line on standard output saying why, when there is no compositor to talk
    // to or it lacks something the surfaces need (the layer shell above all).
    static std::unique_ptr<LayerShell> connect();
    ~LayerShell() override;

    // Whether an output of that name (as QScreen::name() gives it) is known.
    bool hasOutput(const QString& name) const;
    // A surface covering the output called `outputName`, not yet mapped: it is shown once
    // configured and given its first content. `takesKeyboard`: it asks for the keyboard for
    // itself alone. Null when there is no such output.
    std::unique_ptr<LayerSurface> createSurface(const QString& outputName, bool takesKeyboard);

    // Whether the connection still works (a protocol error or a lost compositor ends it).
    bool isAlive() const;

    struct State; // the connection's objects, read by its event handlers

signals:
    // The connection failed after it was made; every surface is gone with it.
    void failed();

private:
    LayerShell();
    friend class LayerSurface;
    std::unique_ptr<State> d;
};

// One output's overlay surface: a background of one colour stretched over the output (a pixel
// scaled by the compositor, its alpha the fade), and a foreground image placed over it
// on a subsurface of its own. Changes are collected and shown together by commit().
class LayerSurface final : public QObject {
    Q_OBJECT
public:
    ~LayerSurface() override;

    // The size the compositor gave the surface (logical pixels); empty until configured.
    QSize size() const { return size_; }
    bool isConfigured() const { return !size_.isEmpty(); }
    // The output's scale: the foreground is painted at this many pixels per logical pixel.
    int scale() const;

    // The background colour; its alpha is how much of the desktop it hides.
    void setBackground(const QColor& colour);
    // A buffer for the foreground over `rect` (logical pixels), cleared to transparent, to be
    // painted before the next commit(); null when no shared memory could be had. An empty rect
    // removes the foreground.
    QImage* beginForeground(const QRect& rect);
    // Shows what was set since the last commit; with `wantFrame`, frameDone() follows once the
    // compositor has shown it and would take another.
    void commit(bool wantFrame);
    bool isFramePending() const { return framePending_; }

signals:
    void configured();
    // The compositor took the surface away (its output went) or refused it.
    void closed();
    void frameDone();
    // A key pressed on this surface: its keysym, and whether Control was held.
    void keyPressed(std::uint32_t keysym, bool control);
    void pointerPressed();

private:
    friend class LayerShell;
    friend struct LayerShell::State;
    LayerSurface(LayerShell& shell, void* output, bool takesKeyboard);
    struct Handles;
    struct Buffer;
    Buffer* freeBuffer(QSize pixels);
    static void onConfigure(void* data, struct zwlr_layer_surface_v1*, uint32_t serial,
                            uint32_t width, uint32_t height);
    static void onClosed(void* data, struct zwlr_layer_surface_v1*);
    static void onFrame(void* data, struct wl_callback* callback, uint32_t time);

    LayerShell& shell_;
    std::unique_ptr<Handles> h;
    QSize size_;
    int scale_ = 1;
    bool framePending_ = false;
    bool foregroundDirty_ = false;
    QRect foregroundRect_;
    Buffer* foreground_ = nullptr;
    QImage foregroundImage_;
};

} // namespace velmor
