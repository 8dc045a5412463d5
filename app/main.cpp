// The program block: the settings file moves to its writing location, a
// later copy hands its command line to the running one and ends, then the
// main window and the two long-lived dialogs are made and the message loop
// runs.
#include "jsUtils.h"
#include "untChartOptions.h"
#include "untDataFiles.h"
#include "untInstance.h"
#include "untIniFile.h"
#include "untMain.h"
#include "untModal.h"
#include "untSelectColumns.h"
#include "untShell.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromStdString(ProductName()));
    // The installed desktop entry's id, by which a desktop matches the windows to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.marlo.Marlo"));
    // No display name: Qt would add it to every window title.
    SetCommandLine(argc, argv);
    LoadFormatSettings(QLocale::system());
    TGuiMessageSink messages;
    SetMessageSink(&messages);

    MoveSettingsFile();
    const bool multipleCopies = TIniFile(SettingsFileName(false)).ReadBool("Options", "MultipleCopies", false);
    TInstance instance(QString::fromStdString(ProductName()), multipleCopies);
    if (instance.HandOver(QApplication::arguments().mid(1))) return 0;
    if (StampReadme(argc, argv)) return 0;

    TfrmMain frmMain(&instance);
    TfrmChartOptions frmChartOptions;
    TfrmSelectColumns frmSelectColumns;
    frmMain.SetDialogs(&frmChartOptions, &frmSelectColumns);
    frmMain.show();
    const int result = QApplication::exec();
    SetMessageSink(nullptr);
    return result;
}
