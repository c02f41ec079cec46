#include "StateWorld.h"
#include "core/content/UserLibraryData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

// The library as the JSON document writer encodes it.
QByteArray referenceEncoding(const UserLibraryData& data) {
    QJsonArray prompts;
    for (const PromptItem& item : data.userPrompts)
        prompts.append(toJson(item));
    const auto ids = [](const QSet<QString>& set) {
        QStringList sorted(set.begin(), set.end());
        std::sort(sorted.begin(), sorted.end());
        return QJsonArray::fromStringList(sorted);
    };
    return QJsonDocument(QJsonObject{{"userPrompts", prompts},
                                     {"favoriteIds", ids(data.favoriteIds)},
                                     {"hiddenIds", ids(data.hiddenIds)},
                                     {"schemaVersion", data.schemaVersion}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

// The fast writer gives the JSON writer's bytes for every kind of text, and reads back equal.
TEST(LibraryEncoding, MatchesTheJsonWriterAndRoundTrips) {
    QString controls;
    for (char16_t c = 1; c < 0x20; ++c)
        controls += QChar(c);
    const QStringList texts{
        "",
        "plain",
        "quote \" backslash \\ slash /",
        controls,
        QString::fromUtf8("caf\xc3\xa9 \xe6\xbc\xa2\xe5\xad\x97 \xf0\x9f\x8c\xbf"),
        QString(QChar(0x7f)) + QChar(0x2028) + QChar(0xfeff)};
    UserLibraryData data;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        PromptItem item = test::userPrompt(QStringLiteral("ID-%1").arg(i), texts[i]);
        if (i % 2)
            item.source = texts[texts.size() - 1 - i];
        if (i % 3 == 0)
            item.sourceWork = texts[i];
        item.category = i % 2 ? PromptCategory::beauty : PromptCategory::body;
        data.userPrompts << item;
        data.favoriteIds << texts[i];
    }
    data.hiddenIds = {"b", "a", controls};
    data.schemaVersion = 7;
    EXPECT_EQ(encodeLibrary(data), referenceEncoding(data));
    EXPECT_EQ(decodeLibrary(encodeLibrary(data)), data);
    EXPECT_EQ(encodeLibrary(UserLibraryData{}), referenceEncoding(UserLibraryData{}));
}
