#include "platform/x11/KeyboardLayout.h"

#include "platform/x11/KeyCodes.h"

#include <QGuiApplication>

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <array>
#include <utility>

namespace velmor::shortcuts {

namespace {

std::shared_ptr<xkb_context> newContext() {
    return std::shared_ptr<xkb_context>(xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref);
}

std::shared_ptr<xkb_keymap> adopt(xkb_keymap* keymap) {
    return std::shared_ptr<xkb_keymap>(keymap, xkb_keymap_unref);
}

// A dead key shows the accent it puts on the next letter.
char32_t spacingAccent(xkb_keysym_t keysym) {
    static constexpr std::array<std::pair<xkb_keysym_t, char32_t>, 10> accents{{
        {XKB_KEY_dead_grave, U'`'},
        {XKB_KEY_dead_acute, U'\u00B4'},
        {XKB_KEY_dead_circumflex, U'^'},
        {XKB_KEY_dead_tilde, U'~'},
        {XKB_KEY_dead_macron, U'\u00AF'},
        {XKB_KEY_dead_breve, U'\u02D8'},
        {XKB_KEY_dead_abovedot, U'\u02D9'},
        {XKB_KEY_dead_diaeresis, U'\u00A8'},
        {XKB_KEY_dead_abovering, U'\u00B0'},
        {XKB_KEY_dead_cedilla, U'\u00B8'},
    }};
    for (const auto& [dead, accent] : accents)
        if (dead == keysym)
            return accent;
    return 0;
}

// Letter positions (virtual key codes A to Z) that tell whether a layout types Latin.
constexpr std::array<int, 26> letterKeys{0x00, 0x0B, 0x08, 0x02, 0x0E, 0x03, 0x05, 0x04, 0x22,
                                         0x26, 0x28, 0x25, 0x2E, 0x2D, 0x1F, 0x23, 0x0C, 0x0F,
                                         0x01, 0x11, 0x20, 0x09, 0x0D, 0x07, 0x10, 0x06};

} // namespace

KeyboardLayout::KeyboardLayout(std::shared_ptr<xkb_keymap> keymap, int activeGroup)
    : keymap_(std::move(keymap)) {
    if (!keymap_)
        return;
    const int groups = int(xkb_keymap_num_layouts(keymap_.get()));
    group_ = activeGroup >= 0 && activeGroup < groups ? activeGroup : 0;
    if (typesLatinLetters(group_))
        return;
    for (int group = 0; group < groups; ++group)
        if (typesLatinLetters(group)) {
            group_ = group;
            return;
        }
}

KeyboardLayout KeyboardLayout::current() {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        KeyboardLayout layout = fromX11(x11->connection());
        if (layout.isValid())
            return layout;
    }
    return fromNames(QString());
}

KeyboardLayout KeyboardLayout::fromX11(xcb_connection_t* connection) {
    if (!connection)
        return KeyboardLayout(nullptr, 0);
    const std::shared_ptr<xkb_context> context = newContext();
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (!context || device < 0)
        return KeyboardLayout(nullptr, 0);
    std::shared_ptr<xkb_keymap> keymap = adopt(xkb_x11_keymap_new_from_device(
        context.get(), connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return KeyboardLayout(nullptr, 0);
    int active = 0;
    if (xkb_state* state = xkb_x11_state_new_from_device(keymap.get(), connection, device)) {
        active = int(xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
        xkb_state_unref(state);
    }
    return KeyboardLayout(std::move(keymap), active);
}

KeyboardLayout KeyboardLayout::fromNames(const QString& layouts, const QString& variants,
                                         int activeGroup) {
    const std::shared_ptr<xkb_context> context = newContext();
    if (!context)
        return KeyboardLayout(nullptr, 0);
    const QByteArray layout = layouts.toUtf8();
    const QByteArray variant = variants.toUtf8();
    xkb_rule_names names{};
    names.layout = layout.isEmpty() ? nullptr : layout.constData();
    names.variant = variant.isEmpty() ? nullptr : variant.constData();
    return KeyboardLayout(
        adopt(xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS)),
        activeGroup);
}

bool KeyboardLayout::typesLatinLetters(int group) const {
    int latin = 0;
    for (int virtualKey : letterKeys) {
        const xkb_keysym_t* syms = nullptr;
        const xkb_keycode_t keycode = xKeyCodeForVirtualKey(virtualKey);
        if (xkb_keymap_key_get_syms_by_level(keymap_.get(), keycode, xkb_layout_index_t(group), 0,
                                             &syms) == 1 &&
            syms[0] >= XKB_KEY_a && syms[0] <= XKB_KEY_z)
            ++latin;
    }
    // Dvorak and AZERTY move a few letters off these keys; a non-Latin layout has none.
    return latin >= 20;
}

std::optional<char32_t> KeyboardLayout::character(Key key) const {
    const xkb_keycode_t keycode = xKeyCodeForVirtualKey(key.rawValue);
    if (!keymap_ || keycode == 0)
        return std::nullopt;
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap_.get(), keycode, xkb_layout_index_t(group_), 0,
                                         &syms) != 1)
        return std::nullopt;
    char32_t character = xkb_keysym_to_utf32(syms[0]);
    if (character == 0)
        character = spacingAccent(syms[0]);
    // Control characters (Return, Tab, Escape, ...) are not characters to show.
    if (character < 0x20 || character == 0x7F)
        return std::nullopt;
    return character;
}

} // namespace velmor::shortcuts
