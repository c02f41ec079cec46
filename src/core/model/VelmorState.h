#pragma once

#include <QDateTime>
#include <QString>

namespace velmor {

// The session state. Every kind but idle means a session is running.
class VelmorState {
public:
    enum class Kind { scheduled, velmoring, snoozed, idle, transitioning, dismissing };

    VelmorState() = default;
    static VelmorState scheduled(const QDateTime& fireDate) {
        return {Kind::scheduled, fireDate, {}};
    }
    static VelmorState velmoring(const QString& promptText) {
        return {Kind::velmoring, {}, promptText};
    }
    static VelmorState snoozed(const QDateTime& until) { return {Kind::snoozed, until, {}}; }
    static VelmorState idle() { return {}; }
    static VelmorState transitioning() { return {Kind::transitioning, {}, {}}; }
    static VelmorState dismissing() { return {Kind::dismissing, {}, {}}; }

    Kind kind() const { return kind_; }
    bool isActive() const { return kind_ != Kind::idle; }
    // fireDate for scheduled, until for snoozed; invalid otherwise.
    QDateTime date() const { return date_; }
    QString promptText() const { return text_; }

    friend bool operator==(const VelmorState& a, const VelmorState& b) {
        return a.kind_ == b.kind_ && a.date_ == b.date_ && a.text_ == b.text_;
    }

private:
    VelmorState(Kind kind, QDateTime date, QString text)
        : kind_(kind), date_(std::move(date)), text_(std::move(text)) {}

    Kind kind_ = Kind::idle;
    QDateTime date_;
    QString text_;
};

} // namespace velmor
