// Decodes a FIT activity with the official FIT SDK and compares it with what
// the training holds, as the C++ test wrote it to a JSON file (see
// tests/tools/ExportReadBackTest.cpp for its fields). Prints every difference
// and exits with 1 when there is one.
//
//   node check-fit.mjs ACTIVITY.fit EXPECTED.json
import { Decoder, Profile, Stream } from '@garmin/fitsdk';
import fs from 'fs';

const [fitPath, expectedPath] = process.argv.slice(2);
const expected = JSON.parse(fs.readFileSync(expectedPath, 'utf8'));
const problems = [];
const complain = (text) => problems.push(text);

// The activity's messages in file order, besides the SDK's lists by kind.
function decode(bytes) {
    const decoder = new Decoder(Stream.fromByteArray(bytes));
    if (!decoder.isFIT()) complain('not a FIT file');
    if (!decoder.checkIntegrity()) complain('the integrity check fails (size or CRC)');
    const order = [];
    const { messages, errors } = decoder.read({
        mesgListener: (number, message) => order.push({ number, message }),
        mergeHeartRates: false,
    });
    for (const error of errors) complain(`decoder error: ${error.message}`);
    return { messages, order };
}

// Half a unit of the field's resolution: the most a value written at that
// resolution may differ from the value it stands for.
const tolerance = (scale) => 0.5 / scale + 1e-9;
const recordFields = Profile.messages[Profile.MesgNum.RECORD].fields;
const profileScale = (name) => [].concat(Object.values(recordFields).find((f) => f.name === name).scale)[0];

function compare(what, actual, wanted, scale) {
    if (wanted === null) {
        if (actual !== undefined && actual !== null) complain(`${what} is ${JSON.stringify(actual)}, expected none`);
    } else if (typeof actual !== 'number' || Math.abs(actual - wanted) > tolerance(scale)) {
        complain(`${what} is ${JSON.stringify(actual)}, expected ${wanted}`);
    }
}

// The developer fields by name: their key in a message and their scale.
function developerFields(messages) {
    const fields = {};
    for (const d of messages.fieldDescriptionMesgs ?? []) fields[d.fieldName] = { key: d.key, scale: d.scale ?? 1 };
    return fields;
}

// The stroke's values in the profile's fields (in the facts' units), and in
// the rowing developer fields (in the units their descriptions give, a factor
// away from the facts'). A fact that is null, no measurement, is written as
// 0 or left out.
const profileValues = [
    ['distance', 'distance', 0], ['power', 'power', 0], ['cadence', 'rate', 0], ['heartRate', 'pulse', null],
    ['speed', 'speed', null], ['enhancedSpeed', 'speed', null], ['cycleLength16', 'strokeDistance', null],
];
const developerValues = [
    ['DriveLength', 'strokeLength', 1000], ['StrokeDriveTime', 'driveTime', 1000],
    ['StrokeRecoveryTime', 'recoverTime', 1000], ['PeakDriveForceN', 'peakForce', 1], ['StrokeWork', 'work', 1],
    ['StrokeRate', 'rate', 1],
];

function checkStroke(record, stroke, developer) {
    const at = `stroke ${stroke.number}`;
    if (record === undefined) return complain(`${at} has no record`);
    if (record.totalCycles !== stroke.number) complain(`${at}: total_cycles is ${record.totalCycles}`);
    compare(`${at} timestamp`, record.timestamp?.getTime() / 1000, stroke.time, 1);
    if (record.heartRate === 0) complain(`${at} has a heart rate of 0, which no pulse rounds to`);
    const clamped = stroke.clamped ?? {};
    for (const [field, fact, unknown] of profileValues)
        compare(`${at} ${field}`, record[field], clamped[field] ?? stroke[fact] ?? unknown, profileScale(field));
    const values = record.developerFields ?? {};
    for (const [name, fact, factor] of developerValues) {
        const field = developer[name];
        if (!field) continue; // reported once, below
        const raw = values[field.key];
        const wanted = clamped[name] ?? (stroke[fact] === null ? null : stroke[fact] * factor);
        compare(`${at} ${name}`, raw === undefined ? undefined : raw / field.scale, wanted, field.scale);
    }
    checkCurve(at, values, developer.HandleForceCurve, clamped.HandleForceCurve ?? stroke.curve);
}

function checkCurve(at, values, field, curve) {
    if (!field) return;
    const raw = values[field.key];
    if (curve === null) {
        if (raw !== undefined) complain(`${at} has a HandleForceCurve, but its curve is not valid`);
        return;
    }
    if (!Array.isArray(raw) || raw.length !== curve.length)
        return complain(`${at} HandleForceCurve is ${JSON.stringify(raw)}, expected ${curve.length} values`);
    curve.forEach((newtons, k) => compare(`${at} HandleForceCurve[${k}]`, raw[k] / field.scale, newtons, field.scale));
}

// Records lap by lap, as the file orders them, against the laps expected.
function checkLaps(order) {
    const laps = [];
    let records = 0;
    for (const { number, message } of order) {
        if (number === Profile.MesgNum.RECORD) ++records;
        if (number === Profile.MesgNum.LAP) {
            laps.push({ intensity: message.intensity, records, cycles: message.totalCycles });
            records = 0;
        }
    }
    if (records > 0) complain(`${records} records after the last lap`);
    if (laps.length !== expected.laps.length) complain(`${laps.length} laps, expected ${expected.laps.length}`);
    expected.laps.forEach((lap, i) => {
        const intensity = lap.rest ? 'rest' : 'active';
        const found = laps[i] ?? {};
        if (found.intensity !== intensity) complain(`lap ${i + 1} is ${found.intensity}, expected ${intensity}`);
        if (found.records !== lap.strokes) complain(`lap ${i + 1} holds ${found.records} records, expected ${lap.strokes}`);
        if (found.cycles !== lap.strokes) complain(`lap ${i + 1} counts ${found.cycles} cycles, expected ${lap.strokes}`);
    });
}

// A training without any pulse gives no heart rate anywhere.
function checkNoHeartRate(messages) {
    const lists = { record: messages.recordMesgs, lap: messages.lapMesgs, session: messages.sessionMesgs };
    for (const [kind, list] of Object.entries(lists))
        for (const message of list ?? [])
            for (const field of ['heartRate', 'avgHeartRate', 'maxHeartRate'])
                if (field in message) return complain(`a ${kind} has ${field} ${message[field]}, but no stroke has a pulse`);
}

function checkSession(messages) {
    const session = messages.sessionMesgs?.[0];
    if (messages.sessionMesgs?.length !== 1) complain(`${messages.sessionMesgs?.length ?? 0} sessions, expected 1`);
    if (messages.activityMesgs?.length !== 1) complain(`${messages.activityMesgs?.length ?? 0} activities, expected 1`);
    if (!session) return;
    if (session.sport !== 'rowing' || session.subSport !== 'indoorRowing')
        complain(`the session's sport is ${session.sport}/${session.subSport}, expected rowing/indoorRowing`);
    if (session.numLaps !== expected.laps.length) complain(`the session counts ${session.numLaps} laps`);
    const title = expected.title === '' ? undefined : expected.title;
    if (session.sportProfileName !== title)
        complain(`the session's name is ${JSON.stringify(session.sportProfileName)}, expected ${JSON.stringify(title)}`);
}

const { messages, order } = decode(fs.readFileSync(fitPath));
const records = messages.recordMesgs ?? [];
if (records.length !== expected.strokes.length)
    complain(`${records.length} records, expected one per stroke: ${expected.strokes.length}`);
const developer = developerFields(messages);
for (const [name] of [...developerValues, ['HandleForceCurve']])
    if (!developer[name]) complain(`no field description for the developer field ${name}`);
for (const stroke of expected.strokes) checkStroke(records[stroke.number - 1], stroke, developer);
checkLaps(order);
if (expected.strokes.every((stroke) => stroke.pulse === null)) checkNoHeartRate(messages);
checkSession(messages);

for (const problem of problems.slice(0, 50)) console.log(problem);
if (problems.length > 50) console.log(`... and ${problems.length - 50} more`);
process.exit(problems.length > 0 ? 1 : 0);
