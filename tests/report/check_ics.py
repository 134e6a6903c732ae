#!/usr/bin/env python3
"""The calendar in iCalendar form read by a parser of its own (Debian's
python3-icalendar): every event has its UID, DTSTAMP, DTSTART in UTC and
SUMMARY, the lines end in CRLF and fold within 75 octets, and the events are
those of the JSON calendar of the same request, at the same instants."""
import datetime
import json
import subprocess
import sys

import icalendar


def run(program, fmt):
    args = [program, "calendar", "--start", "2027-01-01", "--end", "2027-03-31",
            "--tz", "America/New_York", "--format", fmt]
    done = subprocess.run(args, capture_output=True, check=True)
    return done.stdout


def main():
    program = sys.argv[1]
    raw = run(program, "ics")
    lines = raw.split(b"\r\n")
    assert lines[-1] == b"", "the file ends with CRLF"
    for line in lines[:-1]:
        assert b"\n" not in line and b"\r" not in line, line
        assert len(line) <= 75, (len(line), line)
    calendar = icalendar.Calendar.from_ical(raw)
    events = [c for c in calendar.walk() if c.name == "VEVENT"]
    wanted = json.loads(run(program, "json"))["events"]
    assert len(events) == len(wanted) > 0, (len(events), len(wanted))
    uids = set()
    for event, record in zip(events, wanted):
        for key in ("UID", "DTSTAMP", "DTSTART", "SUMMARY"):
            assert key in event, (key, event)
        uids.add(str(event["UID"]))
        start = event.decoded("DTSTART")
        assert start.utcoffset() == datetime.timedelta(0), start
        assert start == datetime.datetime.fromisoformat(record["time"]), (start, record)
        if record["kind"] == "aspect":
            assert str(event["SUMMARY"]).endswith("(exact)"), event["SUMMARY"]
    assert len(uids) == len(events), "UIDs are unique"
    summaries = {str(e["SUMMARY"]) for e in events}
    assert "Full moon" in summaries, summaries
    print(len(events), "events read")


if __name__ == "__main__":
    main()
