#include "TrainingGrids.h"
#include "TestKit.h"
#include "untCharts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string CsvOf(const TTraining& training, TGridKind kind)
{
    std::ostringstream out;
    WriteCsv(out, training, kind);
    return out.str();
}

size_t Count(const std::string& text, const std::string& piece)
{
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++count;
    return count;
}

} // namespace

TEST(CsvCell, QuotesCellsThatNeedIt)
{
    EXPECT_EQ(CsvCell(""), "");
    EXPECT_EQ(CsvCell("Speed (m/s)"), "Speed (m/s)");
    EXPECT_EQ(CsvCell("4,17"), "\"4,17\"");
    EXPECT_EQ(CsvCell("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvCell("\""), "\"\"\"\"");
    EXPECT_EQ(CsvCell("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvCell("a\rb"), "\"a\rb\"");
}

TEST(WriteCsv, HeaderRowThenOneCrlfRowPerDataRow)
{
    TFormatScope dot(DotFormat());
    InitIntervalParameters();
    TTraining training{};
    training.Intervals.resize(2);
    training.Intervals[0].Number = 1;
    training.Intervals[1].Number = 2;
    const std::string csv = CsvOf(training, TGridKind::Intervals);
    EXPECT_EQ(csv.rfind("#,Interval number,Power (W),Stroke rate (/min),", 0), 0u) << csv;
    EXPECT_EQ(Count(csv, "\r\n"), 3u);
    EXPECT_EQ(Count(csv, "\n"), 3u) << "no bare line feeds";
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
    EXPECT_EQ(Count(csv, ","), 3u * 22u);
    EXPECT_NE(csv.find("\r\n2,2,0.0,"), std::string::npos) << csv;
}

TEST(WriteCsv, LocaleCommasAreQuoted)
{
    TFormatScope comma(CommaFormat());
    InitIntervalParameters();
    TTraining training{};
    training.Intervals.resize(1);
    training.Intervals[0].Number = 1;
    training.Intervals[0].TotalTime = 120;
    training.Intervals[0].TotalDistance = 500;
    EXPECT_NE(CsvOf(training, TGridKind::Intervals).find("\r\n1,1,\"0,0\",\"0,0\",\"02:00,0\",500,0,\"4,17\","),
              std::string::npos)
        << CsvOf(training, TGridKind::Intervals);
}

TEST(WriteCsv, EmptyTrainingGivesOnlyTheHeaderRow)
{
    TFormatScope dot(DotFormat());
    InitStrokeParameters();
    const TTraining training{};
    const std::string strokes = CsvOf(training, TGridKind::Strokes);
    EXPECT_EQ(Count(strokes, "\r\n"), 1u);
    EXPECT_EQ(strokes.rfind("#,Stroke,Power (W),Avg. power (W),Stroke rate (/min),,Time (m:s),", 0), 0u) << strokes;
    const std::string curves = CsvOf(training, TGridKind::Curves);
    EXPECT_EQ(curves.rfind("#,Used,2.0,4.0,", 0), 0u) << curves;
    EXPECT_EQ(curves.substr(curves.size() - 34), ",158.0,160.0,Fullness,Peak share\r\n");
    EXPECT_EQ(CsvOf(training, TGridKind::Splits).rfind("#,Strokes cum.,", 0), 0u);
}
