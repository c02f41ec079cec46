#include "StateWorld.h"
#include "core/content/UserLibraryData.h"
#include "core/sync/SyncFile.h"

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

    // The sync files use the same writer, and their own reader.
    SyncFile file;
    file.device = "0123456789abcdef";
    file.retired = {texts[3]};
    for (const PromptItem& item : std::as_const(data.userPrompts))
        file.state.prompts.insert(item.id, {{1000 + item.text.size(), file.device}, item, 7});
    file.state.prompts.insert("GONE", {{1, "another"}, std::nullopt, 3});
    for (const QString& text : std::as_const(texts))
        file.state.hidden.insert(text, {{2, file.device}, text.size() % 2 == 0});
    file.state.settings.insert("velmor.theme", {{3, file.device}, QJsonValue(texts[4])});
    file.state.settings.insert("velmor.intervalSeconds", {{4, file.device}, QJsonValue(1500.5)});
    file.clock = 99;
    const SyncFileRead read = decodeSyncFile(encodeSyncFile(file, true));
    ASSERT_EQ(read.status, SyncFileRead::read) << read.error.toStdString();
    EXPECT_EQ(read.file.state, file.state);
    EXPECT_EQ(read.file.retired, file.retired);
    EXPECT_EQ(read.file.clock, 99);
    const QByteArray bytes = encodeSyncFile(file, false);
    for (qsizetype cut = 1; cut < bytes.size(); cut += 97)
        EXPECT_EQ(decodeSyncFile(bytes.left(cut)).status, SyncFileRead::damaged) << cut;
}
