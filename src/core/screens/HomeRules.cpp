#include "core/screens/HomeRules.h"

#include "core/settings/AppState.h"

#include <QCoreApplication>

namespace velmor {

QString HomeRules::greeting(int hour) {
    if (hour >= 5 && hour <= 11)
        return QCoreApplication::translate("HomeView", "Good morning");
    if (hour >= 12 && hour <= 16)
        return QCoreApplication::translate("HomeView", "Good afternoon");
    return QCoreApplication::translate("HomeView", "Good evening");
}

HomeRules::Card HomeRules::chooseCard(const std::optional<QString>& sittingWithPromptId,
                                      const QList<PromptItem>& starterPrompts,
                                      const QList<PromptItem>& userPrompts,
                                      const std::optional<PromptItem>& lastPrompt,
                                      const std::optional<QDateTime>& lastPromptDate) {
    if (sittingWithPromptId) {
        for (const auto* list : {&starterPrompts, &userPrompts})
            for (const PromptItem& prompt : *list)
                if (prompt.id == *sittingWithPromptId)
                    return {CardKind::sitting, prompt, {}};
    }
    if (lastPrompt && lastPromptDate)
        return {CardKind::lastPrompt, *lastPrompt, *lastPromptDate};
    return {};
}

void HomeRules::letGo(AppState& state) {
    state.setSittingWithPromptId(std::nullopt);
    state.setLastPrompt(std::nullopt);
    state.setLastPromptDate(std::nullopt);
}

QString HomeRules::relativePhrase(const QDateTime& date, const QDateTime& now) {
    const qint64 seconds = date.secsTo(now);
    // One has a text of its own, so English reads right without a catalogue; every other count
    // takes the plural forms of the user's language.
    const auto ago = [](int n, const char* one, const char* many) {
        return n == 1 ? QCoreApplication::translate("HomeView", one)
                      : QCoreApplication::translate("HomeView", many, nullptr, n);
    };
    if (seconds < 0) {
        return QCoreApplication::translate("HomeView", "now");
    }
    if (seconds < 60)
        return seconds < 1 ? QCoreApplication::translate("HomeView", "now")
                           : ago(int(seconds), QT_TRANSLATE_NOOP("HomeView", "1 second ago"),
                                 QT_TRANSLATE_N_NOOP("HomeView", "%n seconds ago"));
    if (seconds < 3600)
        return ago(int(seconds / 60), QT_TRANSLATE_NOOP("HomeView", "1 minute ago"),
                   QT_TRANSLATE_N_NOOP("HomeView", "%n minutes ago"));
    const QDate today = now.toLocalTime().date();
    const QDate day = date.toLocalTime().date();
    const qint64 days = day.daysTo(today);
    if (days == 0)
        return ago(int(seconds / 3600), QT_TRANSLATE_NOOP("HomeView", "1 hour ago"),
                   QT_TRANSLATE_N_NOOP("HomeView", "%n hours ago"));
    if (days == 1)
        return QCoreApplication::translate("HomeView", "yesterday");
    if (days < 7)
        return ago(int(days), QT_TRANSLATE_NOOP("HomeView", "1 day ago"),
                   QT_TRANSLATE_N_NOOP("HomeView", "%n days ago"));
    if (days < 14)
        return QCoreApplication::translate("HomeView", "last week");
    if (days < 31)
        return ago(int(days / 7), QT_TRANSLATE_NOOP("HomeView", "1 week ago"),
                   QT_TRANSLATE_N_NOOP("HomeView", "%n weeks ago"));
    const int months = (today.year() - day.year()) * 12 + today.month() - day.month();
    if (months <= 1)
        return QCoreApplication::translate("HomeView", "last month");
    if (months < 12)
        return ago(months, QT_TRANSLATE_NOOP("HomeView", "1 month ago"),
                   QT_TRANSLATE_N_NOOP("HomeView", "%n months ago"));
    const int years = today.year() - day.year();
    if (years <= 1)
        return QCoreApplication::translate("HomeView", "last year");
    return ago(years, QT_TRANSLATE_NOOP("HomeView", "1 year ago"),
               QT_TRANSLATE_N_NOOP("HomeView", "%n years ago"));
}

} // namespace velmor
