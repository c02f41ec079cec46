#include "core/shortcuts/Shortcut.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace velmor::shortcuts {

int carbonModifiers(Qt::KeyboardModifiers flags) {
    int mask = 0;
    for (const ModifierRow& row : modifierTable)
        if (row.qtFlag != Qt::NoModifier && flags.testFlag(row.qtFlag))
            mask |= row.carbonMask;
    return mask;
}

Qt::KeyboardModifiers qtModifiers(int carbonMask) {
    Qt::KeyboardModifiers flags;
    for (const ModifierRow& row : modifierTable)
        if (carbonMask & row.carbonMask)
            flags |= row.qtFlag;
    return flags;
}

int normalizedCarbonModifiers(int carbonMask) {
    // The function bit has no desktop flag, yet a stored shortcut may carry it; keep it here so
    // that such a shortcut is not silently turned into a different combination.
    return carbonModifiers(qtModifiers(carbonMask)) | (carbonMask & carbon::function);
}

Shortcut::Shortcut(Key key, Qt::KeyboardModifiers flags)
    : carbonKeyCode(key.rawValue),
      carbonModifiers(normalizedCarbonModifiers(shortcuts::carbonModifiers(flags))) {}

QByteArray Shortcut::toJson() const {
    // Written by hand to keep the member order fixed; QJsonObject sorts its keys.
    return QByteArrayLiteral("{\"carbonKeyCode\":") + QByteArray::number(carbonKeyCode) +
           QByteArrayLiteral(",\"carbonModifiers\":") + QByteArray::number(carbonModifiers) + '}';
}

namespace {
std::optional<int> integerMember(const QJsonObject& object, const char* name) {
    const QJsonValue value = object.value(QLatin1String(name));
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (std::trunc(number) != number || std::abs(number) > 2147483647.0)
        return std::nullopt;
    return int(number);
}
} // namespace

std::optional<Shortcut> Shortcut::fromJson(const QByteArray& utf8) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(utf8, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const auto keyCode = integerMember(document.object(), "carbonKeyCode");
    const auto modifiers = integerMember(document.object(), "carbonModifiers");
    if (!keyCode || !modifiers)
        return std::nullopt;
    return Shortcut(*keyCode, *modifiers);
}

} // namespace velmor::shortcuts
