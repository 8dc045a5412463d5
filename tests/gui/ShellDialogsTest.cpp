// The splash window, the welcome dialog and the about box: the welcome's
// store rule across versions, the about box's rows and links, and the splash
// window's layout and timers.
#include "GuiKit.h"

#include "jsUtils.h"
#include "untAbout.h"
#include "untIniFile.h"
#include "untMain.h"
#include "untSplash.h"
#include "untWelcome.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

namespace {

// Receives the addresses the program asks the desktop to open.
class TUrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit TUrlCatcher(const QStringList& schemes) : Schemes(schemes)
    {
        for (const QString& scheme : Schemes) QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~TUrlCatcher() override
    {
        for (const QString& scheme : Schemes) QDesktopServices::unsetUrlHandler(scheme);
    }
    QStringList Opened;

public slots:
    void Open(const QUrl& url) { Opened << url.toString(); }

private:
    QStringList Schemes;
};

QStringList Column(const QTableWidget* grid, int column)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << (grid->item(row, column) ? grid->item(row, column)->text() : QStringLiteral("<none>"));
    return texts;
}

} // namespace

class ShellDialogsTest : public TShellTest {
protected:
    uint32_t StoredWelcome() const
    {
        return static_cast<uint32_t>(TIniFile(SettingsPath().toStdString()).ReadInteger("General", "Welcome", 0));
    }
    void StoreWelcome(uint32_t version) const
    {
        WriteSettings("[General]\r\nWelcome=" + std::to_string(static_cast<int32_t>(version)) + "\r\n");
    }
    // Shows the welcome dialog, ticks or unticks its box, closes it.
    void ShowWelcomeAndClose(bool tick, bool* shownTicked = nullptr)
    {
        TfrmWelcome welcome;
        if (shownTicked) *shownTicked = welcome.DontShowAgain()->isChecked();
        welcome.DontShowAgain()->setChecked(tick);
        welcome.reject(); // any way of closing stores
    }
};

TEST_F(ShellDialogsTest, WelcomeComesBackUntilTickedForTheRunningVersion)
{
    auto main = NewMain();
    const uint32_t running = CurrentVersion();

    // Seen before under this version, unticked: one less, so it shows again.
    StoreWelcome(running);
    bool ticked = false;
    ShowWelcomeAndClose(false, &ticked);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(StoredWelcome(), running - 1);
    Script.Dialogs.clear();
    main->ShowWelcome();
    EXPECT_EQ(Script.Dialogs, QStringList({"frmWelcome"}));

    // Ticked: the running version, and it stays away.
    ShowWelcomeAndClose(true);
    EXPECT_EQ(StoredWelcome(), running);
    Script.Dialogs.clear();
    main->ShowWelcome();
    EXPECT_TRUE(Script.Dialogs.isEmpty());

    // Ticked under an older version: a newer one shows it again, unticked,
    // and an untouched close leaves the older number.
    StoreWelcome(running - 0x10000);
    Script.Dialogs.clear();
    main->ShowWelcome();
    EXPECT_EQ(Script.Dialogs, QStringList({"frmWelcome"}));
    ShowWelcomeAndClose(false, &ticked);
    EXPECT_FALSE(ticked);
    EXPECT_EQ(StoredWelcome(), running - 0x10000);

    // A number from a later version counts as ticked; it is kept.
    StoreWelcome(running + 1);
    ShowWelcomeAndClose(true, &ticked);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(StoredWelcome(), running);
}

TEST_F(ShellDialogsTest, WelcomeShowsOnlyOkAndGivesItTheFocusFromTheText)
{
    TfrmWelcome welcome;
    EXPECT_EQ(welcome.windowTitle(), "Welcome to " + QString::fromStdString(ProductAndVersion()));
    welcome.show();
    QApplication::setActiveWindow(&welcome);
    Settle();
    EXPECT_TRUE(welcome.CancelButton()->isHidden());
    EXPECT_EQ(welcome.OkButton()->geometry().right(), welcome.CancelButton()->geometry().right());
    auto* text = welcome.findChild<QTextBrowser*>("rdtWelcome");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains("default.stg"));
    EXPECT_EQ(text->accessibleName(), "Welcome text");
    text->setFocus();
    Settle();
    EXPECT_TRUE(welcome.OkButton()->hasFocus());
    EXPECT_EQ(welcome.size(), QSize(452, 404));
    welcome.accept();
}

TEST_F(ShellDialogsTest, AboutBoxListsEveryVersionKeyAndTheStatisticsWithoutAnEmptyRow)
{
    auto main = NewMain();
    TfrmAbout about(main.get());
    for (const auto& row : main->StatisticsRows()) TfrmAbout::AddRow(about.Statistics(), row.first, row.second);
    about.show();
    Settle();

    EXPECT_EQ(Column(about.Statistics(), 0), QStringList({"Running time", "Times started", "Rowing time",
                                                           "Rowing sessions", "Files opened", "Files saved"}));
    const QStringList keys = Column(about.Version(), 0);
    EXPECT_EQ(keys, QStringList({"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                                 "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion",
                                 "SpecialBuild", "Comments", "Website", "Email"}));
    const QStringList values = Column(about.Version(), 1);
    EXPECT_EQ(values[keys.indexOf("LegalTrademarks")], ""); // no text, still a row
    EXPECT_EQ(values[keys.indexOf("ProductName")], QString::fromStdString(ProductName()));

    auto* pages = about.findChild<QTabWidget*>("pgcAbout");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->tabText(0), "General");
    EXPECT_EQ(pages->tabText(2), "&Statistics");
    // The box's size follows its picture; OK sits in the middle.
    const QPixmap picture = about.findChild<QLabel*>("imgAbout")->pixmap();
    EXPECT_EQ(about.size(), picture.size() + QSize(26, 220));
    EXPECT_NEAR(about.OkButton()->mapTo(&about, about.OkButton()->rect().center()).x(), about.width() / 2, 1);
    EXPECT_EQ(about.OkButton()->size(), QSize(75, 25));
    // A screen reader names the tables by their page headers, the pictures by what they show.
    EXPECT_EQ(about.Version()->accessibleName(), "Version information");
    EXPECT_EQ(about.Statistics()->accessibleName(), "Program usage statistics");
    EXPECT_EQ(about.findChild<QLabel*>("imgIcon")->accessibleName(), "Program icon");
}

TEST_F(ShellDialogsTest, AboutBoxOpensItsMailAndWebRowsWithADoubleClick)
{
    EXPECT_EQ(TfrmAbout::LinkOf("Email", "rower@example.org"), "mailto:rower@example.org");
    EXPECT_EQ(TfrmAbout::LinkOf("Email", "mailto:rower@example.org"), "mailto:rower@example.org");
    EXPECT_EQ(TfrmAbout::LinkOf("Website", "www.example.org"), "http://www.example.org");
    EXPECT_EQ(TfrmAbout::LinkOf("Website", "https://www.example.org/x"), "https://www.example.org/x");
    EXPECT_EQ(TfrmAbout::LinkOf("Website", ""), "");
    EXPECT_EQ(TfrmAbout::LinkOf("Comments", "www.example.org"), "");

    TfrmAbout about;
    about.show();
    Settle();
    QTableWidget* grid = about.Version();
    const int website = Column(grid, 0).indexOf("Website");
    ASSERT_GE(website, 0);
    const QString address = grid->item(website, 1)->text();
    ASSERT_FALSE(address.isEmpty());

    const auto moveTo = [grid](int row) {
        const QPoint at = grid->visualItemRect(grid->item(row, 1)).center();
        QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
    };
    grid->scrollToItem(grid->item(website, 1));
    moveTo(website);
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::PointingHandCursor);
    moveTo(0);
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::ArrowCursor);

    const TUrlCatcher catcher({"http", "https", "mailto"});
    grid->scrollToItem(grid->item(website, 1));
    const QPoint at = grid->visualItemRect(grid->item(website, 1)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent click(type, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &click);
    }
    EXPECT_EQ(catcher.Opened, QStringList({TfrmAbout::LinkOf("Website", address)}));

}

TEST_F(ShellDialogsTest, SplashStacksItsPanelsAndHidesTheVersionHalfway)
{
    TfrmSplash splash(nullptr, 2);
    const QPixmap picture = splash.findChild<QLabel*>("imgSplash")->pixmap();
    EXPECT_EQ(splash.size(), QSize(picture.width() + 18, picture.height() + 34 + 24 + 16 + 20));
    EXPECT_EQ(splash.findChild<QWidget*>("pnlTitle")->height(), 34);
    EXPECT_EQ(splash.findChild<QLabel*>("imgIcon")->width(), 50);
    EXPECT_EQ(splash.findChild<QLabel*>("pnlParam")->height(), 24);
    EXPECT_EQ(splash.Progress()->height(), 16);
    const QWidget* panel = splash.findChild<QWidget*>("pnlSplash");
    EXPECT_EQ(panel->palette().color(QPalette::Window), picture.toImage().pixelColor(0, picture.height() - 1));

    // Two steps fill the bar; a third only changes the text.
    for (const char* step : {"one", "two", "three"}) splash.SplashStep(step);
    EXPECT_EQ(splash.Progress()->value(), 2);
    EXPECT_EQ(splash.findChild<QLabel*>("pnlParam")->text(), "three");

    QFont font = splash.font();
    font.setPointSize(13);
    splash.ApplyFont(font);
    EXPECT_TRUE(splash.findChild<QLabel*>("lblname")->font().bold());
    EXPECT_EQ(splash.findChild<QLabel*>("lblname")->font().pointSize(), 13);

    // 3000 ms: the version goes after 1500, the window after 3000.
    splash.SetDisplayTime(true);
    EXPECT_EQ(splash.DisplayTime(), 3000);
    auto* version = splash.findChild<QLabel*>("lblVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QString::fromStdString(ProductAndVersion()) + " ");
    EXPECT_EQ(version->pos(), QPoint(1, 1));
    QTimer* versionTimer = nullptr;
    QTimer* displayTimer = nullptr;
    splash.show();
    for (QTimer* timer : splash.findChildren<QTimer*>())
        (timer->interval() == 1500 ? versionTimer : displayTimer) = timer;
    ASSERT_TRUE(versionTimer && displayTimer);
    EXPECT_EQ(displayTimer->interval(), 3000);
    EXPECT_TRUE(version->isVisible());
    // The timers are driven by hand: nothing here waits for them.
    QMetaObject::invokeMethod(versionTimer, "timeout", Qt::DirectConnection);
    EXPECT_FALSE(version->isVisible());
    EXPECT_TRUE(splash.isVisible());
    QMetaObject::invokeMethod(displayTimer, "timeout", Qt::DirectConnection);
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

#include "ShellDialogsTest.moc"
