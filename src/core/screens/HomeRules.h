#pragma once

#include "core/model/PromptItem.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace velmor {

class AppState;

// What the home screen shows: a greeting by the hour, and one card.
struct HomeRules {
    enum class CardKind { sitting, lastPrompt, welcome };
    struct Card {
        CardKind kind = CardKind::welcome;
        PromptItem prompt; // sitting and lastPrompt
        QDateTime date;    // lastPrompt
    };

    // "Good morning" (5 to 11), "Good afternoon" (12 to 16), "Good evening" otherwise.
    static QString greeting(int hour);

    // The prompt sat with (starter prompts first, then the user's, set-aside or not), else the
    // last prompt with its date, else the welcome card.
    static Card chooseCard(const std::optional<QString>& sittingWithPromptId,
                           const QList<PromptItem>& starterPrompts,
                           const QList<PromptItem>& userPrompts,
                           const std::optional<PromptItem>& lastPrompt,
                           const std::optional<QDateTime>& lastPromptDate);

    // "Let go": the sit-with id, the last prompt and its date all become absent, so the welcome
    // card follows rather than the last prompt.
    static void letGo(AppState& state);

    // How long ago, in words: "now", "5 minutes ago", "1 hour ago", "yesterday", "3 days ago",
    // "last week", ...
    static QString relativePhrase(const QDateTime& date, const QDateTime& now);

    // A prompt's text between straight double quotes.
    static QString quoted(const QString& text) { return u'"' + text + u'"'; }
};

} // namespace velmor
