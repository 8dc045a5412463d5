"""Reads a rowing-data CSV back with Python's csv module and compares its
columns with what the training holds, as the C++ test wrote it to a JSON file
(see tests/tools/ExportReadBackTest.cpp for its fields). Prints every
difference and exits with 1 when there is one.

    python3 check-csv.py STROKES.csv EXPECTED.json
"""
import csv
import json
import sys

NEWTONS_PER_POUND_FORCE = 4.4482216152605
CURVE = "Handle_Force_(N)"

# The columns of the open rowing-data convention, spelt as it spells them,
# and the fact each holds (times a factor); a fact that is no measurement
# (null) is written as 0.
COLUMNS = [
    ("TimeStamp (sec)", "time", 1),
    (" Horizontal (meters)", "distance", 1),
    (" Cadence (stokes/min)", "rate", 1),
    (" HRCur (bpm)", "pulse", 1),
    (" Stroke500mPace (sec/500m)", "split", 1),
    (" Power (watts)", "power", 1),
    (" DriveLength (meters)", "strokeLength", 1),
    (" StrokeDistance (meters)", "strokeDistance", 1),
    (" DriveTime (ms)", "driveTime", 1000),
    (" DragFactor", None, 0),
    (" StrokeRecoveryTime (ms)", "recoverTime", 1000),
    (" AverageDriveForce (lbs)", None, 0),
    (" PeakDriveForce (lbs)", "peakForce", 1 / NEWTONS_PER_POUND_FORCE),
    (" lapIdx", "lap", 1),
    (" ElapsedTime (sec)", "seconds", 1),
    (" WorkPerStroke (joules)", "work", 1),
    (" Stroke Number", "number", 1),
]
problems = []


def shown_near(text, wanted):
    """Whether the number a text shows is the wanted value rounded to the
    digits the text has."""
    decimals = len(text.split(".")[1]) if "." in text else 0
    return abs(float(text) - wanted) <= 0.5 * 10**-decimals + 1e-9 * max(1.0, abs(wanted))


def with_laps(expected):
    """The strokes, each with the index of its lap among the laps that hold strokes."""
    strokes = iter(expected["strokes"])
    laps = [lap for lap in expected["laps"] if lap["strokes"] > 0]
    for index, lap in enumerate(laps):
        for _ in range(lap["strokes"]):
            yield {**next(strokes), "lap": index}


def check_row(row, stroke):
    at = f"stroke {stroke['number']}"
    for name, fact, factor in COLUMNS:
        try:
            float(row[name])
        except ValueError:
            problems.append(f"{at} {name.strip()} is {row[name]!r}, not a number with a dot")
            continue
        if fact is not None and not shown_near(row[name], (stroke[fact] or 0) * factor):
            problems.append(f"{at} {name.strip()} is {row[name]}, expected {(stroke[fact] or 0) * factor}")
    curve = [int(value) for value in row[CURVE].split(",")] if row[CURVE] else None
    if curve != stroke["driveCurve"]:
        problems.append(f"{at} {CURVE} is {row[CURVE]!r}, expected {stroke['driveCurve']}")


def main(csv_path, expected_path):
    with open(expected_path, encoding="utf-8") as file:
        expected = json.load(file)
    with open(csv_path, newline="", encoding="utf-8") as file:
        reader = csv.DictReader(file)
        header = [name for name, _, _ in COLUMNS] + [CURVE]
        if reader.fieldnames != header:
            problems.append(f"the columns are {reader.fieldnames}, expected {header}")
        rows = list(reader)
    if len(rows) != len(expected["strokes"]):
        problems.append(f"{len(rows)} rows, expected one per stroke: {len(expected['strokes'])}")
    if not problems:
        for row, stroke in zip(rows, with_laps(expected)):
            if None in row or None in row.values():
                problems.append(f"stroke {stroke['number']}: the row does not have the {len(header)} cells of the header")
            else:
                check_row(row, stroke)
    for problem in problems[:50]:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
