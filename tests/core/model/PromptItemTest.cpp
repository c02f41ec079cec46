#include "core/model/PromptItem.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace velmor;

namespace {
PromptItem prompt(std::optional<QString> source, std::optional<QString> work) {
    return PromptItem{"ID", "Text", PromptCategory::beauty, source, work, PackSource::starter};
}
} // namespace

TEST(PromptItem, AttributionCoversEveryCombinationOfSourceAndWork) {
    EXPECT_EQ(attribution(prompt("Keats", "To Autumn")), QString("\u2014 Keats, To Autumn"));
    EXPECT_EQ(attribution(prompt("Keats", std::nullopt)), QString("\u2014 Keats"));
    EXPECT_EQ(attribution(prompt(std::nullopt, "To Autumn")), QString("\u2014 To Autumn"));
    EXPECT_EQ(attribution(prompt(std::nullopt, std::nullopt)), std::nullopt);
    EXPECT_EQ(attribution(prompt(QString(""), std::nullopt)), QString("\u2014 "));
}

TEST(PromptItem, JsonLeavesOutAbsentOptionalsAndRoundTrips) {
    const PromptItem bare = prompt(std::nullopt, std::nullopt);
    const QJsonObject json = toJson(bare);
    EXPECT_FALSE(json.contains("source"));
    EXPECT_FALSE(json.contains("sourceWork"));
    EXPECT_EQ(json.value("category").toString(), "beauty");
    EXPECT_EQ(json.value("packSource").toString(), "starter");
    EXPECT_EQ(promptFromJson(json), bare);
    const PromptItem full = prompt("Keats", "To Autumn");
    EXPECT_EQ(promptFromJson(toJson(full)), full);

    QJsonObject withNull = json;
    withNull.insert("source", QJsonValue::Null);
    EXPECT_EQ(promptFromJson(withNull), bare);
}

TEST(PromptItem, DecodeFailsOnMissingKeysWrongTypesAndUnknownRawValues) {
    const QJsonObject good = toJson(prompt("Keats", std::nullopt));
    for (const char* key : {"id", "text", "category", "packSource"}) {
        QJsonObject broken = good;
        broken.remove(key);
        QString error;
        EXPECT_FALSE(promptFromJson(broken, &error)) << key;
        EXPECT_TRUE(error.contains(key)) << error.toStdString();
    }
    // Raw values are case-sensitive and a display name is not one; texts and sources are strings.
    for (const auto& [key, value] :
         {std::pair{"category", QJsonValue("Poems")},
          std::pair{"packSource", QJsonValue("Starter")}, std::pair{"text", QJsonValue(3)},
          std::pair{"source", QJsonValue(3)}}) {
        QJsonObject broken = good;
        broken.insert(key, value);
        EXPECT_FALSE(promptFromJson(broken)) << key;
    }
}

TEST(PromptItem, StarterIdsMatchIndependentlyComputedVersion5Uuids) {
    // Expected values from Python's uuid.uuid5 over the same namespace and "text|source".
    EXPECT_EQ(starterPromptId("What if there was nothing to fix?", std::nullopt),
              "BCED6D0E-4474-5509-80CA-9C0AA27113AE");
    EXPECT_EQ(starterPromptId("Breathe.", QString("Anon")), "96404513-3054-5D76-95FA-3393A77E51CE");
    EXPECT_EQ(starterPromptId(QString::fromUtf8("Café – naïve ✓"), QString("Rilke")),
              "808863A3-D73C-5F32-AEAA-6D1EB874F9B6");
    EXPECT_EQ(starterPromptId("", std::nullopt), "D414B32A-C4EC-5EA8-9538-1AB316D8E80C");
    // An empty source and no source name the same prompt.
    EXPECT_EQ(starterPromptId("x", QString("")), starterPromptId("x", std::nullopt));
}
