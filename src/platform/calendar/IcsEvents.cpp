#include "platform/calendar/IcsEvents.h"

#include <libical/ical.h>

#include <algorithm>
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
        icalcomponent* definition = builtin ? icaltimezone_get_component(builtin) : nullptr;
        if (!definition)
            continue;
        icalcomponent* copy = icalcomponent_new_clone(definition);
        if (icalproperty* id = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY))
            icalproperty_set_tzid(id, tzid.c_str());
        icalcomponent_add_component(calendar, copy);
    }
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

std::time_t endOf(icalcomponent* event, std::time_t start) {
    const icaltimetype end = icalcomponent_get_dtend(event);
    return icaltime_is_null_time(end) ? start : std::max(start, momentOf(end));
}

// Half-open spans; an event without a length is there at its start.
bool overlaps(std::time_t start, std::time_t end, std::time_t from, std::time_t to) {
    if (end <= start)
        return start >= from && start < to;
    return start < to && end > from;
}

struct SearchState {
    std::time_t from;
    std::time_t to;
    bool floating;
    const std::set<std::time_t>* replaced;
    bool found = false;
};

void onInstance(icalcomponent*, icaltime_span* span, void* data) {
    auto& state = *static_cast<SearchState*>(data);
    if (state.found || state.replaced->count(span->start))
        return;
    std::time_t start = span->start;
    std::time_t end = span->end;
    if (state.floating) {
        start = localFromFloating(span->start);
        end = start + (span->end - span->start);
    }
    if (overlaps(start, end, state.from, state.to))
        state.found = true;
}

} // namespace

void IcsEvents::Free::operator()(icalcomponent_impl* root) const {
    icalcomponent_free(root);
}

IcsEvents::IcsEvents(IcsEvents&&) noexcept = default;
IcsEvents& IcsEvents::operator=(IcsEvents&&) noexcept = default;
IcsEvents::~IcsEvents() = default;

std::optional<IcsEvents> IcsEvents::parse(const QByteArray& text) {
    icalcomponent* root = icalparser_parse_string(text.constData());
    if (!root)
        return std::nullopt;
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
        return std::nullopt;

    std::map<std::string, std::set<std::time_t>> replacedByUid;
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
                replacedByUid[uid].insert(libicalMomentOf(moment));
                if (canBeMeeting(event)) {
                    const std::time_t start = momentOf(icalcomponent_get_dtstart(event));
                    events.spans_.push_back({start, endOf(event, start)});
                }
                continue;
            }
            if (!canBeMeeting(event))
                continue;
            const icaltimetype start = icalcomponent_get_dtstart(event);
            const bool recurs = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                                icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
            if (recurs) {
                seriesByUid[uid] = events.series_.size();
                events.series_.push_back({event, momentOf(start), isFloating(start), {}});
            } else {
                const std::time_t begin = momentOf(start);
                events.spans_.push_back({begin, endOf(event, begin)});
            }
        }
    }
    for (auto& [uid, replaced] : replacedByUid)
        if (auto it = seriesByUid.find(uid); it != seriesByUid.end())
            events.series_[it->second].replaced = std::move(replaced);
    return events;
}

bool IcsEvents::hasMeetingBetween(std::time_t from, std::time_t to) const {
    for (const Span& span : spans_)
        if (overlaps(span.start, span.end, from, to))
            return true;
    for (const Series& series : series_) {
        if (series.firstStart > to + floatingSlack)
            continue;
        SearchState state{from, to, series.floating, &series.replaced};
        // libical's window test is strict about touching ends; the exact test is onInstance's.
        icalcomponent_foreach_recurrence(
            series.master,
            icaltime_from_timet_with_zone(from - floatingSlack, 0, icaltimezone_get_utc_timezone()),
            icaltime_from_timet_with_zone(to + floatingSlack, 0, icaltimezone_get_utc_timezone()),
            onInstance, &state);
        if (state.found)
            return true;
    }
    return false;
}

} // namespace velmor
