// What the platform layer stands in for: single instance between two real
// processes, the hand-over text, the screen-saver hold and the locale's
// formats.
#include "GuiKit.h"

#include "untInstance.h"
#include "untPowerSaving.h"
#include "untShell.h"

#include <QLocale>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

QString UniqueProduct() { return QStringLiteral("MarloTest%1-%2").arg(QCoreApplication::applicationPid()).arg(std::rand()); }

// Starts this test program as a later copy and waits for it while the event
// loop runs, so that the first copy can answer.
int RunLaterCopy(const QString& product, const QStringList& parameters)
{
    QProcess copy;
    copy.start(QCoreApplication::applicationFilePath(), QStringList({"--instance-helper", product}) + parameters);
    if (!copy.waitForStarted(5000)) return -1;
    QElapsedTimer clock;
    clock.start();
    while (copy.state() != QProcess::NotRunning && clock.elapsed() < 15000) QTest::qWait(10);
    return copy.state() == QProcess::NotRunning ? copy.exitCode() : -2;
}

} // namespace

TEST(SingleInstance, ALaterCopyHandsOverItsCommandLineAndEnds)
{
    const QString product = UniqueProduct();
    TInstance first(product, false);
    ASSERT_FALSE(first.HandOver({}));
    ASSERT_TRUE(first.IsFirst());
    QSignalSpy activated(&first, &TInstance::Activated);

    EXPECT_EQ(RunLaterCopy(product, {"a.stg", "b c.stg"}), 0);
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(first.HandedOverText(), "a.stg\r\nb c.stg\r\n");

    EXPECT_EQ(RunLaterCopy(product, {}), 0);
    EXPECT_EQ(first.HandedOverText(), "\r\n");
}

TEST(SingleInstance, MultipleCopiesLetTheLaterCopyRunOn)
{
    const QString product = UniqueProduct();
    TInstance first(product, true);
    ASSERT_FALSE(first.HandOver({}));
    QSignalSpy activated(&first, &TInstance::Activated);
    EXPECT_EQ(RunLaterCopy(product, {"x.stg"}), 3); // the first answers 0
    EXPECT_EQ(activated.size(), 1);
    EXPECT_EQ(RunLaterCopy(product, {"--multiple", "x.stg"}), 3); // never asks
    EXPECT_EQ(activated.size(), 1);
}

TEST(SingleInstance, AfterTheFirstCopyEndsTheNextStartIsFirstAgain)
{
    const QString product = UniqueProduct();
    {
        TInstance first(product, false);
        ASSERT_FALSE(first.HandOver({}));
    }
    TInstance next(product, false);
    EXPECT_FALSE(next.HandOver({}));
    EXPECT_TRUE(next.IsFirst());
}

TEST(SingleInstance, HandOverTextKeepsParametersWithin250Characters)
{
    EXPECT_EQ(HandOverText({}), "\r\n");
    const QString long300(300, 'a'), long200(200, 'b'), long40(40, 'c');
    EXPECT_EQ(HandOverText({long300, "x"}), long300 + "\r\n");
    EXPECT_EQ(HandOverText({long200, long40, "y"}), long200 + "\r\n" + long40 + "\r\ny\r\n");
    EXPECT_EQ(HandOverText({long200, long40, QString(7, 'y'), "z"}), long200 + "\r\n" + long40 + "\r\n");
    EXPECT_EQ(HandOverText({long200, QString(49, 'd'), "z"}), long200 + "\r\n");
    EXPECT_EQ(HandOverLines("a\r\nb\r\n"), QStringList({"a", "b"}));
    EXPECT_EQ(HandOverLines("\r\n"), QStringList({""}));
}

TEST(PowerSaving, WithoutAScreenSaverServiceNothingIsHeldAndNothingBreaks)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    TPowerSavingBlock block;
    QSignalSpy held(&block, &TPowerSavingBlock::Held);
    block.Hold();
    EXPECT_FALSE(block.IsHeld());
    block.Release();
    EXPECT_EQ(held.size(), 0);
}

TEST(LocaleFormats, QtFormatsBecomeTheCoresFormatLanguage)
{
    EXPECT_EQ(CoreDateFormat("dd.MM.yyyy"), "dd/mm/yyyy");
    EXPECT_EQ(CoreDateFormat("M/d/yy"), "m/d/yy");
    EXPECT_EQ(CoreTimeFormat("HH:mm:ss"), "hh:nn:ss");
    EXPECT_EQ(CoreTimeFormat("h:mm:ss AP t"), "h:nn:ss ampm");

    const TFormatSettings saved = FormatSettings();
    LoadFormatSettings(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().DateSeparator, '.');
    EXPECT_EQ(FormatSettings().ShortDateFormat, "dd/mm/yy");
    FormatSettings() = saved;
}
