// marlo-info's output compared byte for byte with its known output, kept in
// tests/tools/expected/: the bundled sample, a training whose texts and
// numbers need care (inputs/odd-values.stg), files of the other readable
// kinds from the regression corpus and a file that cannot be read. Then the
// memory a long document takes.
//
// Each file is copied into a fresh folder under the name in the table,
// modified at ModifiedAt, and read there with TZ=UTC: the older kinds take
// the training's date from the file's time. To write an expected file again
// (after a deliberate change of the output), do the same by hand, e.g.
//   cp tests/corpus/rvs/interval-after-last /tmp/x/case.rvs
//   touch -d @1781421000 /tmp/x/case.rvs
//   cd /tmp/x && TZ=UTC marlo-info --json case.rvs > rvs-interval-after-last.json
#include "ChildRun.h"
#include "InfoRun.h"
#include "TestKit.h"
#include "untTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace {

const time_t ModifiedAt = 1781421000; // 2026-06-14 07:10:00 UTC

struct TCase {
    const char* Input;    // in the source folder
    const char* RunAs;    // the name of the copy that is read
    const char* Expected; // the name of the expected files without extension
    bool Readable;        // a readable file also has a summary and three grids
    bool FreshId;         // the older kinds give the training a new random ID at every read
};

const TCase Cases[] = {
    {"samples/default.stg", "default.stg", "default", true, false},
    // The demo training of 3 strokes with a title holding a tab, quotes and a
    // backslash, a note with accented letters and control bytes, an infinite
    // and a NaN power, a -0 time, singles of 1e-40 and 3.4e38, and three
    // extra entries.
    {"tests/tools/inputs/odd-values.stg", "case.stg", "odd-values", true, false},
    {"tests/corpus/stg/negative-zero-resampling-factor", "case.stg", "stg-negative-zero-resampling-factor", true,
     false},
    {"tests/corpus/str/all-bits-set", "case.str", "str-all-bits-set", true, true},
    {"tests/corpus/rvr/all-bits-set-after-signature", "case.rvr", "rvr-all-bits-set-after-signature", true, true},
    {"tests/corpus/rvs/interval-after-last", "case.rvs", "rvs-interval-after-last", true, true},
    {"tests/corpus/pel/no-line-ends", "case.pel", "pel-no-line-ends", false, false},
};

// Names the case in the test's listing.
void PrintTo(const TCase& c, std::ostream* out) { *out << c.Input; }

std::string SourceFile(const std::string& name) { return std::string(MARLO_SOURCE_DIR) + "/" + name; }

std::string Expected(const TCase& c, const std::string& extension)
{
    return ReadBytes(SourceFile(std::string("tests/tools/expected/") + c.Expected + extension));
}

// The document with the value of its "TrainingID" members blanked, after
// checking that each is a braced GUID.
std::string WithoutTrainingIds(std::string document)
{
    const std::string key = "\"TrainingID\": \"";
    for (size_t at = document.find(key); at != std::string::npos; at = document.find(key, at)) {
        at += key.size();
        const bool guid = document.compare(at, 1, "{") == 0 && document.compare(at + 37, 2, "}\"") == 0;
        EXPECT_TRUE(guid) << document.substr(at, 40);
        if (guid) document.replace(at + 1, 36, 36, '-');
    }
    return document;
}

// "" when the texts are the same, else where they first differ: a whole
// document in a failure message would bury the difference.
std::string FirstDifference(const std::string& actual, const std::string& expected)
{
    if (actual == expected) return "";
    const size_t at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first
                      - actual.begin();
    const size_t line = static_cast<size_t>(std::count(actual.begin(), actual.begin() + at, '\n')) + 1;
    const size_t newline = at == 0 ? std::string::npos : actual.rfind('\n', at - 1);
    const size_t start = newline == std::string::npos ? 0 : newline + 1;
    return "line " + std::to_string(line) + ": got \"" + actual.substr(start, at - start + 40) + "\", expected \""
           + expected.substr(start, at - start + 40) + "\"";
}

class KnownOutput : public ::testing::TestWithParam<TCase> {
protected:
    void SetUp() override
    {
        const std::string path = Temp.File(GetParam().RunAs);
        WriteBytes(path, ReadBytes(SourceFile(GetParam().Input)));
        const timespec times[2] = {{ModifiedAt, 0}, {ModifiedAt, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    // marlo-info run in the copy's folder on the copy.
    TRun Info(const std::string& option)
    {
        return RunCommand("cd " + Quote(Temp.Path()) + " && TZ=UTC " + MARLO_INFO_PATH + " " + option + " "
                              + GetParam().RunAs,
                          Temp);
    }

    TTempFolder Temp;
};

TEST_P(KnownOutput, JsonIsTheSame)
{
    const TCase& c = GetParam();
    const TRun run = Info("--json");
    EXPECT_EQ(run.ExitCode, c.Readable ? 0 : 1) << run.Err;
    const std::string expected = Expected(c, ".json");
    if (c.FreshId) EXPECT_EQ(FirstDifference(WithoutTrainingIds(run.Out), WithoutTrainingIds(expected)), "");
    else EXPECT_EQ(FirstDifference(run.Out, expected), "");
}

TEST_P(KnownOutput, SummaryAndGridsAreTheSame)
{
    const TCase& c = GetParam();
    if (!c.Readable) {
        EXPECT_EQ(Info("").Out, "");
        EXPECT_EQ(Info("--csv strokes").Out, "");
        return;
    }
    EXPECT_EQ(FirstDifference(Info("").Out, Expected(c, ".txt")), "");
    for (const std::string grid : {"strokes", "curves", "intervals"}) {
        SCOPED_TRACE(grid);
        const TRun run = Info("--csv " + grid);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(FirstDifference(run.Out, Expected(c, "." + grid + ".csv")), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Files, KnownOutput, ::testing::ValuesIn(Cases), [](const auto& info) {
    std::string name = info.param.Expected;
    for (char& ch : name)
        if (ch == '-') ch = '_';
    return name;
});

#ifdef __SANITIZE_ADDRESS__
const bool MemoryIsMeasurable = false; // the sanitizer's own memory would be measured
#else
const bool MemoryIsMeasurable = true;
#endif

// A 76-byte device user file whose header claims 65,535 curves, strokes and
// intervals is read as that many zeroed records, and its JSON runs to some
// 236 MB. A tree of the whole document would take gigabytes, a table of the
// summary's interval texts a hundred megabytes; written as a stream each
// needs little more than the record.
TEST(MarloInfoMemory, HostileCountsGiveALongDocumentInBoundedMemory)
{
    if (!MemoryIsMeasurable) GTEST_SKIP() << "memory is not measurable under AddressSanitizer";
    TTempFolder temp;
    const std::string path = temp.File("hostile.rvi");
    WriteBytes(path, ReadBytes(SourceFile("tests/corpus/rvi/every-count-at-most")));
    const double record = 65536.0 * (sizeof(TStroke) + sizeof(TForceCurve) + sizeof(TInterval));
    const double bound = (2 * record + 16 * 1024 * 1024) / 1024;
    // The summary's table of 65,535 intervals too.
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--json", path}, {path}}) {
        std::vector<std::string> command = {MARLO_INFO_PATH};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const TChildRun run = RunChild(command);
        ASSERT_EQ(run.ExitCode, 0) << arguments.front();
        EXPECT_LE(run.PeakKiB, bound) << arguments.front() << ": peak " << run.PeakKiB / 1024 << " MiB";
    }
}

} // namespace
