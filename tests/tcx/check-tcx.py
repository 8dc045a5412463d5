"""Reads a TCX activity back with Python's XML parser and compares its laps
and trackpoints with what the training holds, as the C++ test wrote it to a
JSON file (see tests/tools/ExportReadBackTest.cpp for its fields). The schema
check is xmllint's. Prints every difference and exits with 1 when there is one.

    python3 check-tcx.py ACTIVITY.tcx EXPECTED.json
"""
import json
import sys
import xml.etree.ElementTree as ElementTree
from datetime import datetime

NS = {
    "tcx": "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2",
    "ax": "http://www.garmin.com/xmlschemas/ActivityExtension/v2",
}
problems = []


def shown_near(text, wanted):
    """Whether the number a text shows is the wanted value rounded to the
    digits the text has."""
    decimals = len(text.split(".")[1]) if "." in text else 0
    return abs(float(text) - wanted) <= 0.5 * 10**-decimals + 1e-9 * max(1.0, abs(wanted))


def time_near(text, wanted):
    """Whether an xsd:dateTime is the wanted time (seconds since 1970)
    rounded to the digits of its seconds."""
    fraction = text.rstrip("Z").rpartition(".")[2] if "." in text else ""
    seconds = datetime.fromisoformat(text.replace("Z", "+00:00")).timestamp()
    return abs(seconds - wanted) <= 0.5 * 10**-len(fraction) + 1e-6


def compare(what, element, wanted):
    """A child's text against a value; None wants no child."""
    if wanted is None:
        if element is not None:
            problems.append(f"{what} is {element.text}, expected none")
    elif element is None:
        problems.append(f"{what} is missing, expected {wanted}")
    elif not shown_near(element.text, wanted):
        problems.append(f"{what} is {element.text}, expected {wanted}")


def check_trackpoint(point, stroke):
    at = f"stroke {stroke['number']}"
    clamped = stroke.get("clamped", {})
    time = point.findtext("tcx:Time", namespaces=NS)
    if not time_near(time, stroke["time"]):
        problems.append(f"{at} Time is {time}, expected {stroke['time']} s after 1970")
    compare(f"{at} DistanceMeters", point.find("tcx:DistanceMeters", NS), stroke["distance"])
    compare(f"{at} HeartRateBpm", point.find("tcx:HeartRateBpm/tcx:Value", NS), clamped.get("HeartRateBpm", stroke["pulse"]))
    # Cadence, speed and watts of a stroke without them are written as 0.
    compare(f"{at} Cadence", point.find("tcx:Cadence", NS), clamped.get("Cadence", stroke["rate"] or 0))
    extension = "tcx:Extensions/ax:TPX/ax:"
    compare(f"{at} Speed", point.find(extension + "Speed", NS), stroke["speed"] or 0)
    compare(f"{at} Watts", point.find(extension + "Watts", NS), clamped.get("Watts", stroke["power"] or 0))


def check_laps(activity, expected):
    laps = activity.findall("tcx:Lap", NS)
    if len(laps) != len(expected["laps"]):
        problems.append(f"{len(laps)} laps, expected {len(expected['laps'])}")
    for number, (lap, wanted) in enumerate(zip(laps, expected["laps"]), 1):
        intensity = "Resting" if wanted["rest"] else "Active"
        if lap.findtext("tcx:Intensity", namespaces=NS) != intensity:
            problems.append(f"lap {number} is {lap.findtext('tcx:Intensity', namespaces=NS)}, expected {intensity}")
        points = lap.findall("tcx:Track/tcx:Trackpoint", NS)
        if len(points) != wanted["strokes"]:
            problems.append(f"lap {number} holds {len(points)} trackpoints, expected {wanted['strokes']}")


def check_no_heart_rate(root):
    for element in root.iter():
        if element.tag.endswith("}HeartRateBpm"):
            value = element.findtext("tcx:Value", namespaces=NS)
            problems.append(f"a heart rate of {value}, but no stroke has a pulse")


def check_activity(activity, expected):
    check_laps(activity, expected)
    points = activity.findall("tcx:Lap/tcx:Track/tcx:Trackpoint", NS)
    if len(points) != len(expected["strokes"]):
        problems.append(f"{len(points)} trackpoints, expected one per stroke: {len(expected['strokes'])}")
    for point, stroke in zip(points, expected["strokes"]):
        check_trackpoint(point, stroke)
    notes = activity.findtext("tcx:Notes", namespaces=NS)
    if "notes" in expected and notes != expected["notes"]:
        problems.append(f"the notes are {notes!r}, expected {expected['notes']!r}")


def main(tcx_path, expected_path):
    with open(expected_path, encoding="utf-8") as file:
        expected = json.load(file)
    root = ElementTree.parse(tcx_path).getroot()
    activities = root.findall("tcx:Activities/tcx:Activity", NS)
    if len(activities) == 1:
        check_activity(activities[0], expected)
    else:
        problems.append(f"{len(activities)} activities, expected 1")
    if all(stroke["pulse"] is None for stroke in expected["strokes"]):
        check_no_heart_rate(root)
    for problem in problems[:50]:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
