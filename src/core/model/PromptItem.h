#pragma once

#include <QJsonObject>
#include <QString>

#include <array>
#include <optional>

namespace velmor {

enum class PromptCategory { question, beauty, body };
enum class PackSource { starter, user };

inline constexpr std::array<PromptCategory, 3> allCategories = {
    PromptCategory::question, PromptCategory::beauty, PromptCategory::body};

QString rawValue(PromptCategory category);
std::optional<PromptCategory> categoryFromRawValue(const QString& raw);
QString displayName(PromptCategory category);
QString rawValue(PackSource source);
std::optional<PackSource> packSourceFromRawValue(const QString& raw);

struct PromptItem {
    QString id;
    QString text;
    PromptCategory category = PromptCategory::question;
    std::optional<QString> source;
    std::optional<QString> sourceWork;
    PackSource packSource = PackSource::user;

    friend bool operator==(const PromptItem&, const PromptItem&) = default;
};

size_t qHash(const PromptItem& item, size_t seed = 0);

// The line under the prompt text: "— source, work", "— source", "— work", or absent.
std::optional<QString> attribution(const PromptItem& item);

QJsonObject toJson(const PromptItem& item);
// Fails (nullopt, with a reason) on a missing or mistyped required key or an unknown raw value.
std::optional<PromptItem> promptFromJson(const QJsonValue& value, QString* error = nullptr);

// The stable id of a starter prompt: a version-5 UUID over text + "|" + source, upper case.
QString starterPromptId(const QString& text, const std::optional<QString>& source);

} // namespace velmor
