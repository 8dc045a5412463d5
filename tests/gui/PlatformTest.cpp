// What the platform layer stands in for: single instance between two real
// processes and between two copies of the program, the hand-over text, the screen-saver hold, the locale's
// formats, and file names that are not UTF-8.
#include "GuiKit.h"

#include "jsUtils.h"
#include "untFileNames.h"
#include "untInstance.h"
#include "untPowerSaving.h"
#include "untShell.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLocale>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

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

// Copies of the built program, offscreen, in a temporary home and under a
// user name of their own, so that no copy the user runs is reached. Every
// copy still running at the end is killed.
class ProgramCopies : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = QString::fromStdString(Home.File("marlo"));
        ASSERT_TRUE(QFile::copy(MARLO_PROGRAM_PATH, Program));
        const QString runtime = QString::fromStdString(Home.File("run"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        Environment.insert("HOME", QString::fromStdString(Home.Path()));
        Environment.insert("XDG_CONFIG_HOME", QString::fromStdString(Home.File(".config")));
        Environment.insert("XDG_RUNTIME_DIR", runtime);
        Environment.insert("USER", QStringLiteral("marlotest%1x%2").arg(QCoreApplication::applicationPid()).arg(std::rand()));
        Environment.insert("QT_QPA_PLATFORM", "offscreen");
        Environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString("unix:path=" + Home.File("no-bus")));
    }

    void TearDown() override
    {
        for (auto& copy : Copies) {
            copy->kill();
            copy->waitForFinished(5000);
        }
    }

    QProcess& Start(const QStringList& arguments)
    {
        Copies.push_back(std::make_unique<QProcess>());
        QProcess& copy = *Copies.back();
        copy.setProcessEnvironment(Environment);
        copy.start(Program, arguments);
        return copy;
    }

    // True once a first copy listens for hand-overs.
    bool FirstCopyListens() const
    {
        const QString server = QString::fromStdString(ProductName()) + '-' + Environment.value("USER");
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            QLocalSocket probe;
            probe.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
            probe.connectToServer(server);
            if (probe.waitForConnected(100)) return true;
            QTest::qWait(50);
        }
        return false;
    }

    void WriteSettings(const std::string& text) const
    {
        const std::string folder = Home.File("Documents/" + StripNameChars(CompanyName()) + "/" +
                                             StripNameChars(ProductName()));
        QDir().mkpath(QString::fromStdString(folder));
        WriteBytes(folder + "/marlo.ini", text);
    }

    TTempFolder Home;
    QString Program;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<QProcess>> Copies;
};

TEST_F(ProgramCopies, ASecondCopyHandsOverItsFilesAndEndsWhileTheFirstRunsOn)
{
    QProcess& first = Start({});
    ASSERT_TRUE(FirstCopyListens());
    QProcess& second = Start({"a.stg", "b c.stg"});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(first.waitForFinished(500));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(ProgramCopies, WithMultipleCopiesBothRunSideBySide)
{
    WriteSettings("[Options]\nMultipleCopies=1\n");
    QProcess& first = Start({});
    ASSERT_TRUE(FirstCopyListens());
    QProcess& second = Start({"a.stg"});
    EXPECT_FALSE(second.waitForFinished(2000));
    EXPECT_EQ(second.state(), QProcess::Running);
    EXPECT_EQ(first.state(), QProcess::Running);
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

TEST(FileNames, NamesThatAreNotUtf8KeepTheirBytesAndReadAsReplacements)
{
    // Valid UTF-8 of every length stays text.
    const std::string valid = "/d/\x41\xc3\xa9\xe2\x82\xac\xf0\x9f\x9a\xa3.stg";
    EXPECT_EQ(FileNameFromBytes(valid), QString::fromUtf8(valid.c_str()));
    EXPECT_EQ(FileNameBytes(FileNameFromBytes(valid)), valid);
    // Latin-1 bytes, an overlong form, a surrogate, a sequence cut short and a
    // lone continuation byte all come back byte for byte.
    for (const std::string& bytes : {std::string("\xe9\xff.stg"), std::string("\xc0\x80"), std::string("\xed\xa0\x80"),
                                     std::string("a\xe2\x82"), std::string("\x80z")}) {
        const QString name = FileNameFromBytes(bytes);
        EXPECT_EQ(FileNameBytes(name), bytes);
        EXPECT_FALSE(ShownFileName(name).toUtf8().contains('\xed')) << "no surrogate is shown";
    }
    EXPECT_EQ(ShownFileName(FileNameFromBytes("\xe9\xff.stg")), QString(2, QChar::ReplacementCharacter) + ".stg");

    EXPECT_EQ(FileNameBytes(LocalFileOfUrl(QUrl::fromEncoded("file:///d/%E9%FF.stg"))), "/d/\xe9\xff.stg");
    EXPECT_EQ(LocalFileOfUrl(QUrl::fromEncoded("file:///d/%C3%A9%20x.stg")), QString::fromUtf8("/d/\xc3\xa9 x.stg"));
    EXPECT_EQ(LocalFileOfUrl(QUrl("https://example.org/a.stg")), QString());
}
