#include "platform/calendar/IcsEvents.h"

#include <libical/ical.h>

#include <QTimeZone>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

namespace velmor {

namespace {

// Recurrences are expanded over a window widened by this much, so instances of floating
// (zone-less) series, which libical places in UTC, are not missed before being moved to local
// time.
constexpr std::time_t floatingSlack = 26 * 3600;

bool isFloating(const icaltimetype& t) {
    return !t.zone && !icaltime_is_utc(t);
}

// A floating time read as if it were UTC (libical's reading), moved to the user's local time.
std::time_t localFromFloating(std::time_t asUtc) {
    std::tm parts{};
    gmtime_r(&asUtc, &parts);
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

// The moment a DATE-TIME stands for. Floating times are the user's local time.
std::time_t momentOf(const icaltimetype& t) {
    if (isFloating(t))
        return localFromFloating(icaltime_as_timet_with_zone(t, icaltimezone_get_utc_timezone()));
    return icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone());
}

// libical's own reading of an instance time (floating as UTC), used to match overrides.
std::time_t libicalMomentOf(const icaltimetype& t) {
    return icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone());
}

icaltimezone* zoneFor(icalcomponent* comp, const char* tzid) {
    for (icalcomponent* c = comp; c; c = icalcomponent_get_parent(c))
        if (icaltimezone* zone = icalcomponent_get_timezone(c, tzid))
            return zone;
    return nullptr;
}

// A meeting longer than a day is no meeting: a corrupt DURATION of billions of weeks would
// otherwise hold every overlay back for good.
constexpr std::time_t longestMeeting = 24 * 3600;

std::time_t secondsOf(const icaldurationtype& d) {
    // Summed wide: libical's own sum overflows an int.
    const long long total =
        (((long long)d.weeks * 7 + d.days) * 24 + d.hours) * 3600LL + d.minutes * 60LL + d.seconds;
    return std::time_t(std::min<long long>(total, longestMeeting)) * (d.is_neg ? -1 : 1);
}

// A DATE-TIME property's moment, in the zone its TZID names.
std::time_t momentOfProperty(icalproperty* prop, icalcomponent* event) {
    return momentOf(icalproperty_get_datetime_with_component(prop, event));
}

// Where an event ends, as its author meant it: DTEND wins over a DURATION beside it (Mozilla
// writes DURATION:PT0S next to a real DTEND), a DTEND before DTSTART (SabreDAV) counts from
// the other side, and no length is longer than a day.
std::time_t lengthOf(icalcomponent* event, std::time_t start) {
    std::time_t length = 0;
    if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY))
        length = std::abs(momentOfProperty(end, event) - start);
    else if (icalproperty* d = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY))
        length = std::abs(secondsOf(icalproperty_get_duration(d)));
    return std::min(length, longestMeeting);
}

// A zone name with a vendor's prefix ("/mozilla.org/20070129_1/America/New_York"): the
// longest tail that names a zone libical knows.
icaltimezone* zoneByTail(const std::string& tzid) {
    for (size_t slash = tzid.find('/'); slash != std::string::npos;
         slash = tzid.find('/', slash + 1))
        if (icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid.c_str() + slash + 1))
            return zone;
    return nullptr;
}

// Files often name an Olson zone in TZID without a VTIMEZONE; libical would then read the time
// as floating. Give the calendar the system's definition under the name the file uses.
void addMissingZones(icalcomponent* calendar) {
    std::set<std::string> tzids;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
        for (icalproperty* prop = icalcomponent_get_first_property(event, ICAL_ANY_PROPERTY); prop;
             prop = icalcomponent_get_next_property(event, ICAL_ANY_PROPERTY))
            if (icalparameter* param = icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER))
                if (const char* tzid = icalparameter_get_tzid(param))
                    tzids.insert(tzid);
    for (const std::string& tzid : tzids) {
        if (icalcomponent_get_timezone(calendar, tzid.c_str()))
            continue;
        icaltimezone* builtin = icaltimezone_get_builtin_timezone(tzid.c_str());
        if (!builtin) {
            // Outlook and Exchange name Windows zones ("W. Europe Standard Time").
            const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(QByteArray(tzid.c_str()));
            if (!iana.isEmpty())
                builtin = icaltimezone_get_builtin_timezone(iana.constData());
        }
        if (!builtin)
            builtin = zoneByTail(tzid);
        icalcomponent* definition = builtin ? icaltimezone_get_component(builtin) : nullptr;
        if (!definition)
            continue;
        icalcomponent* copy = icalcomponent_new_clone(definition);
        if (icalproperty* id = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY))
            icalproperty_set_tzid(id, tzid.c_str());
        icalcomponent_add_component(calendar, copy);
    }
}

// Changes a VTIMEZONE may have up to the last year libical expands zones to; real zones have
// a few hundred since 1601.
constexpr int maxZoneChanges = 20000;
constexpr int lastZoneYear = 2040;
// Instances a file's series may step through around now, as each question will.
constexpr long maxSeriesSteps = 500000;
constexpr std::time_t stepWindow = 2 * 24 * 3600;

struct Budget {
    IcsEvents::Deadline deadline;
    long steps = 0;
    // Checks the clock now and then: true once the budget is spent.
    long checked = 0;
    bool step(long limit, long weight = 1) {
        steps += weight;
        if (steps > limit)
            return true;
        if (steps - checked < 1024)
            return false;
        checked = steps;
        return std::chrono::steady_clock::now() > deadline;
    }
};

// libical expands a zone's rules from their start up to a few years ahead, every instance kept
// in memory and no way to stop it: count them first.
bool zonesWithinBudget(icalcomponent* calendar, Budget& budget) {
    for (icalcomponent* zone =
             icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT);
         zone; zone = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
        for (icalcomponent* rule = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT);
             rule; rule = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
            const icaltimetype start = icalcomponent_get_dtstart(rule);
            for (icalproperty* rrule = icalcomponent_get_first_property(rule, ICAL_RRULE_PROPERTY);
                 rrule; rrule = icalcomponent_get_next_property(rule, ICAL_RRULE_PROPERTY)) {
                icalrecur_iterator* it =
                    icalrecur_iterator_new(icalproperty_get_rrule(rrule), start);
                bool spent = false;
                for (icaltimetype t = it ? icalrecur_iterator_next(it) : icaltime_null_time();
                     !icaltime_is_null_time(t) && t.year <= lastZoneYear;
                     t = icalrecur_iterator_next(it))
                    if ((spent = budget.step(maxZoneChanges)))
                        break;
                if (it)
                    icalrecur_iterator_free(it);
                if (spent)
                    return false;
            }
        }
    }
    return true;
}

// Steps a series' rules through the days around now as a question does (libical starts at the
// window unless the rule has a COUNT, and then at the first instance).
bool seriesWithinBudget(icalcomponent* event, Budget& budget) {
    // libical checks each instance against every EXDATE and EXRULE, RDATEs included.
    long exceptions = 0;
    long extraDates = 0;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_ANY_PROPERTY)) {
        const icalproperty_kind kind = icalproperty_isa(p);
        exceptions += kind == ICAL_EXDATE_PROPERTY || kind == ICAL_EXRULE_PROPERTY;
        extraDates += kind == ICAL_RDATE_PROPERTY;
    }
    const long weight = 1 + exceptions;
    if (budget.step(maxSeriesSteps, extraDates * weight))
        return false;
    const icaltimetype start = icalcomponent_get_dtstart(event);
    const std::time_t now = std::time(nullptr);
    const icaltimetype from =
        icaltime_from_timet_with_zone(now - stepWindow, 0, icaltimezone_get_utc_timezone());
    const icaltimetype to =
        icaltime_from_timet_with_zone(now + stepWindow, 0, icaltimezone_get_utc_timezone());
    for (icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); rrule;
         rrule = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype recur = icalproperty_get_rrule(rrule);
        icalrecur_iterator* it = icalrecur_iterator_new(recur, start);
        if (!it)
            continue;
        if (recur.count == 0)
            icalrecur_iterator_set_start(it, from);
        bool spent = false;
        for (icaltimetype t = icalrecur_iterator_next(it);
             !icaltime_is_null_time(t) && icaltime_compare(t, to) <= 0;
             t = icalrecur_iterator_next(it))
            if ((spent = budget.step(maxSeriesSteps, weight)))
                break;
        icalrecur_iterator_free(it);
        if (spent)
            return false;
    }
    return true;
}

// Timed, busy and not cancelled: an instance of this component can be a meeting.
bool canBeMeeting(icalcomponent* event) {
    const icaltimetype start = icalcomponent_get_dtstart(event);
    if (icaltime_is_null_time(start) || start.is_date)
        return false;
    if (icalproperty* transp = icalcomponent_get_first_property(event, ICAL_TRANSP_PROPERTY)) {
        const icalproperty_transp value = icalproperty_get_transp(transp);
        if (value == ICAL_TRANSP_TRANSPARENT || value == ICAL_TRANSP_TRANSPARENTNOCONFLICT)
            return false;
    }
    return icalcomponent_get_status(event) != ICAL_STATUS_CANCELLED;
}

// Extra dates (RDATE) as their authors meant them: a date-time in the zone its TZID names (not
// UTC, as libical reads it), or a period with its own end or length. Dates without a time are
// all-day: not meetings.
void addExtraDates(icalcomponent* event, std::time_t length, std::vector<BusySpan>& out) {
    std::set<std::time_t> excluded;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        excluded.insert(momentOfProperty(p, event));
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        icaltimezone* zone = nullptr;
        if (icalparameter* tz = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
            zone = zoneFor(event, icalparameter_get_tzid(tz));
        const auto moment = [zone](icaltimetype t) {
            if (zone && !icaltime_is_utc(t))
                t = icaltime_set_timezone(&t, zone);
            return momentOf(t);
        };
        std::time_t start = 0;
        std::time_t span = length;
        if (!icaltime_is_null_time(value.time)) {
            if (value.time.is_date)
                continue;
            start = moment(value.time);
        } else if (!icaltime_is_null_time(value.period.start) && !value.period.start.is_date) {
            start = moment(value.period.start);
            span = icaltime_is_null_time(value.period.end)
                       ? std::abs(secondsOf(value.period.duration))
                       : std::min(std::abs(moment(value.period.end) - start), longestMeeting);
        } else {
            continue;
        }
        if (!excluded.count(start))
            out.push_back({start, start + span});
    }
}

// Half-open spans; an event without a length is there at its start.
bool overlaps(std::time_t start, std::time_t end, std::time_t from, std::time_t to) {
    if (end <= start)
        return start >= from && start < to;
    return start < to && end > from;
}

template <typename Series, typename Span> struct SearchState {
    std::time_t from;
    std::time_t to;
    const Series* series;
    std::vector<Span>* found;
};

template <typename Series, typename Span>
void onInstance(icalcomponent*, icaltime_span* span, void* data) {
    auto& state = *static_cast<SearchState<Series, Span>*>(data);
    const Series& series = *state.series;
    if (series.replaced.count(span->start))
        return;
    std::time_t start = series.floating ? localFromFloating(span->start) : span->start;
    std::time_t end = start + series.length;
    // The latest "this and future" change that reaches this instance.
    const auto range = std::upper_bound(series.ranges.begin(), series.ranges.end(), span->start,
                                        [](std::time_t t, const auto& r) { return t < r.from; });
    if (range != series.ranges.begin()) {
        const auto& change = *std::prev(range);
        if (!change.meeting)
            return;
        start += change.shift;
        end = start + change.length;
    }
    if (overlaps(start, end, state.from, state.to))
        state.found->push_back({start, end});
}

} // namespace

void IcsEvents::Free::operator()(icalcomponent_impl* root) const {
    icalcomponent_free(root);
}

IcsEvents::IcsEvents(IcsEvents&&) noexcept = default;
IcsEvents& IcsEvents::operator=(IcsEvents&&) noexcept = default;
IcsEvents::~IcsEvents() = default;

std::optional<IcsEvents> IcsEvents::parse(const QByteArray& text, Deadline deadline,
                                          Failure* failure) {
    const auto fail = [failure](Failure why) {
        if (failure)
            *failure = why;
        return std::nullopt;
    };
    icalcomponent* root = icalparser_parse_string(text.constData());
    if (!root)
        return fail(Failure::notCalendar);
    IcsEvents events;
    events.root_.reset(root);

    std::vector<icalcomponent*> calendars;
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT)
        calendars.push_back(root);
    else
        for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
            calendars.push_back(c);
    if (calendars.empty())
        return fail(Failure::notCalendar);
    Budget budget{deadline};
    if (std::chrono::steady_clock::now() > deadline)
        return fail(Failure::overBudget);
    for (icalcomponent* calendar : calendars)
        if (!zonesWithinBudget(calendar, budget))
            return fail(Failure::overBudget);
    budget.steps = budget.checked = 0;

    std::map<std::string, std::set<std::time_t>> replacedByUid;
    std::map<std::string, std::vector<Range>> rangesByUid;
    std::map<std::string, size_t> seriesByUid;
    for (icalcomponent* calendar : calendars) {
        addMissingZones(calendar);
        for (icalcomponent* event =
                 icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            const char* uidText = icalcomponent_get_uid(event);
            const std::string uid = uidText ? uidText : "";

            if (icalproperty* rid =
                    icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
                // An override replaces one instance of its series, whatever it says itself.
                icaltimetype moment = icalproperty_get_recurrenceid(rid);
                if (icalparameter* tz = icalproperty_get_first_parameter(rid, ICAL_TZID_PARAMETER))
                    if (icaltimezone* zone = zoneFor(event, icalparameter_get_tzid(tz)))
                        moment = icaltime_set_timezone(&moment, zone);
                const std::time_t begin = momentOf(icalcomponent_get_dtstart(event));
                const icalparameter* range =
                    icalproperty_get_first_parameter(rid, ICAL_RANGE_PARAMETER);
                if (range && icalparameter_get_range(range) == ICAL_RANGE_THISANDFUTURE) {
                    // Moves (or cancels) this instance and every later one by the same step.
                    rangesByUid[uid].push_back({libicalMomentOf(moment), begin - momentOf(moment),
                                                lengthOf(event, begin), canBeMeeting(event),
                                                begin});
                    continue;
                }
                replacedByUid[uid].insert(libicalMomentOf(moment));
                if (canBeMeeting(event))
                    events.spans_.push_back({begin, begin + lengthOf(event, begin)});
                continue;
            }
            if (!canBeMeeting(event))
                continue;
            const icaltimetype start = icalcomponent_get_dtstart(event);
            std::time_t begin = momentOf(start);
            const bool recurs = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                                icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
            if (recurs) {
                if (!seriesWithinBudget(event, budget))
                    return fail(Failure::overBudget);
                Series series{event, begin, isFloating(start), lengthOf(event, begin), {}, {}, {}};
                // libical would place the extra dates itself, ignoring their zones and periods.
                addExtraDates(event, series.length, series.extraDates);
                while (icalproperty* rdate =
                           icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY)) {
                    icalcomponent_remove_property(event, rdate);
                    icalproperty_free(rdate);
                }
                seriesByUid[uid] = events.series_.size();
                events.series_.push_back(std::move(series));
            } else {
                const std::time_t length = lengthOf(event, begin);
                // A DTEND before DTSTART: the author swapped them.
                if (icalproperty* end =
                        icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY))
                    begin = std::min(begin, momentOfProperty(end, event));
                events.spans_.push_back({begin, begin + length});
            }
        }
    }
    for (auto& [uid, replaced] : replacedByUid)
        if (auto it = seriesByUid.find(uid); it != seriesByUid.end())
            events.series_[it->second].replaced = std::move(replaced);
    for (auto& [uid, ranges] : rangesByUid) {
        const auto it = seriesByUid.find(uid);
        if (it == seriesByUid.end()) {
            // An invitation to "this and future" instances whose series is not here: keep at
            // least the instance it names, as an override without its series is kept.
            for (const Range& range : ranges)
                if (range.meeting)
                    events.spans_.push_back({range.begin, range.begin + range.length});
            continue;
        }
        Series& series = events.series_[it->second];
        for (Range& range : ranges)
            if (range.length == 0)
                range.length = series.length;
        std::sort(ranges.begin(), ranges.end(),
                  [](const Range& a, const Range& b) { return a.from < b.from; });
        series.ranges = std::move(ranges);
    }
    if (std::chrono::steady_clock::now() > deadline)
        return fail(Failure::overBudget);
    return events;
}

void IcsEvents::busyBetween(std::time_t from, std::time_t to, std::vector<BusySpan>& out) const {
    for (const BusySpan& span : spans_)
        if (overlaps(span.start, span.end, from, to))
            out.push_back(span);
    for (const Series& series : series_) {
        for (const BusySpan& extra : series.extraDates)
            if (!series.replaced.count(extra.start) && overlaps(extra.start, extra.end, from, to))
                out.push_back(extra);
        // Instances moved here by a "this and future" change come from further away.
        std::time_t slack = floatingSlack;
        for (const Range& range : series.ranges)
            slack = std::max(slack, floatingSlack + std::abs(range.shift));
        if (series.firstStart > to + slack)
            continue;
        SearchState<Series, BusySpan> state{from, to, &series, &out};
        // libical's window test is strict about touching ends; the exact test is onInstance's.
        icalcomponent_foreach_recurrence(
            series.master,
            icaltime_from_timet_with_zone(from - slack, 0, icaltimezone_get_utc_timezone()),
            icaltime_from_timet_with_zone(to + slack, 0, icaltimezone_get_utc_timezone()),
            onInstance<Series, BusySpan>, &state);
    }
}

} // namespace velmor
