// The Training Center XML (TCX) reader: the file's first activity, each
// trackpoint of it a stroke (its time, distance, heart rate, cadence as stroke
// rate, and speed and power from the activity extension), each lap a lap,
// resting laps rest. Elements are known by their local names, whatever
// namespace prefix a writer gives them. A file whose trackpoints are samples
// a second apart opens the same way, a row per sample. The XML is parsed by
// pugixml; a document that is not TCX, or a value that is no number, makes
// the file unreadable.
#include "untFiles.h"

#include "jsUtils.h"
#include "untBinaryFile.h"
#include "untImport.h"

#include <pugixml.hpp>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

class ETcxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Below this many m/s a trackpoint has no 500 m time (it would be days).
const double SlowestSpeed = 0.001;

// The name of an element without its namespace prefix.
const char* LocalName(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool IsElement(const pugi::xml_node& node, const char* name)
{
    return node.type() == pugi::node_element && std::strcmp(LocalName(node), name) == 0;
}

// The first child element of that local name; an empty node when there is
// none, or when parent is empty.
pugi::xml_node Child(const pugi::xml_node& parent, const char* name)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (IsElement(child, name)) return child;
    return {};
}

// Every child element of that local name, in order.
template <typename TTake>
void ForEachChild(const pugi::xml_node& parent, const char* name, TTake take)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (IsElement(child, name)) take(child);
}

// The number an element holds; 0 where there is no element or it is empty.
double Number(const pugi::xml_node& element)
{
    const std::string_view text = TrimmedView(element.text().get());
    if (text.empty()) return 0;
    const std::optional<double> value = ImportedNumber(text);
    if (!value) throw ETcxError("a value that is no number");
    return *value;
}

double UnixTime(const char* text)
{
    const std::optional<double> time = UnixTimeOfXmlDateTime(text);
    if (!time) throw ETcxError("a time that is no date and time");
    return *time;
}

// The notes as Marlo's export writes them: the title on the first line (the
// file's name stays the title where that line is empty), the note below it.
void TakeNotes(TTraining& training, const std::string& notes)
{
    const size_t end = notes.find('\n');
    const std::string title = Trim(notes.substr(0, end));
    if (!title.empty()) training.Header.Title.Assign(Utf8ToAnsi(title));
    if (end != std::string::npos) training.Header.Note.Assign(Utf8ToAnsi(Trim(notes.substr(end + 1))));
}

// The strokes and laps of an activity, the strokes timed from the first
// lap's start, else from the first trackpoint.
class TActivityReader {
public:
    explicit TActivityReader(TTraining& training) : Training(training), Strokes(training) {}

    void Read(const pugi::xml_node& activity)
    {
        if (const pugi::xml_attribute start = Child(activity, "Lap").attribute("StartTime"))
            Start = UnixTime(start.value());
        ForEachChild(activity, "Lap", [this](const pugi::xml_node& lap) { ReadLap(lap); });
        if (Start) Training.Header.DateTime = DateTimeFromUnixTime(*Start, true);
        TakeNotes(Training, Child(activity, "Notes").text().get());
        FinishImport(Training, Laps);
    }

private:
    void ReadLap(const pugi::xml_node& lap)
    {
        TImportedLap imported{Strokes.Count() + 1, Strokes.Count(),
                              TrimmedView(Child(lap, "Intensity").text().get()) == "Resting"};
        ForEachChild(lap, "Track", [this](const pugi::xml_node& track) {
            ForEachChild(track, "Trackpoint", [this](const pugi::xml_node& point) { ReadTrackpoint(point); });
        });
        imported.Last = Strokes.Count();
        Laps.push_back(imported);
    }

    void ReadTrackpoint(const pugi::xml_node& point)
    {
        const double time = UnixTime(Child(point, "Time").text().get());
        if (!Start) Start = time;
        TStroke s{};
        s.Time = static_cast<float>(time - *Start);
        s.Distance = static_cast<float>(Number(Child(point, "DistanceMeters")));
        s.Pulse = static_cast<float>(Number(Child(Child(point, "HeartRateBpm"), "Value")));
        s.StrokeRate = static_cast<float>(Number(Child(point, "Cadence")));
        const pugi::xml_node extension = Child(Child(point, "Extensions"), "TPX");
        s.Power = static_cast<float>(Number(Child(extension, "Watts")));
        const double speed = Number(Child(extension, "Speed"));
        s.Split500 = speed >= SlowestSpeed ? static_cast<float>(500 / speed) : 0;
        Strokes.Add(s, NoCurve);
    }

    TTraining& Training;
    TImportedStrokes Strokes;
    const TSourceCurve NoCurve;
    std::optional<double> Start;
    std::vector<TImportedLap> Laps;
};

// The file's bytes, read through the one checked way the readers touch files.
std::unique_ptr<char[]> FileBytes(const std::string& path, size_t& size)
{
    TBinaryFile file(path);
    size = static_cast<size_t>(file.Size());
    auto bytes = std::make_unique<char[]>(size);
    if (!file.ReadExactly(bytes.get(), size)) throw ETcxError("a file shorter than its size");
    return bytes;
}

} // namespace

bool ReadTcxFile(const std::string& path, TTraining& training)
{
    return ImportFile(path, [&] {
        BeginImport(training, path, fkTcx, ffTCX);
        size_t size = 0;
        const std::unique_ptr<char[]> bytes = FileBytes(path, size);
        pugi::xml_document document;
        // Each element keeps its text itself, which halves the nodes a
        // trackpoint takes.
        if (!document.load_buffer_inplace(bytes.get(), size, pugi::parse_default | pugi::parse_embed_pcdata))
            throw ETcxError("no XML");
        const pugi::xml_node root = document.document_element();
        if (!IsElement(root, "TrainingCenterDatabase")) throw ETcxError("XML that is not TCX");
        const pugi::xml_node activity = Child(Child(root, "Activities"), "Activity");
        if (!activity) throw ETcxError("no activity");
        TActivityReader(training).Read(activity);
    });
}
