// The program block: --help, --version and usage errors are answered, the
// settings file moves to its writing location, a later copy hands its
// command line to the running one and ends, then the main window and the two
// long-lived dialogs are made and the message loop runs.
#include "jsUtils.h"
#include "untChartOptions.h"
#include "untCommandLine.h"
#include "untDataFiles.h"
#include "untInstance.h"
#include "untIniFile.h"
#include "untMain.h"
#include "untModal.h"
#include "untSelectColumns.h"
#include "untShell.h"

#include <QApplication>
#include <QLocale>

#include <iostream>

namespace {

std::vector<std::string> Parameters(int argc, char* argv[]) { return {argv + 1, argv + argc}; }

// Prints what the options ask for instead of a start; the exit status.
int Answer(const TStartOptions& options)
{
    switch (options.Action) {
    case TStartAction::ShowHelp: std::cout << MarloUsage; return 0;
    case TStartAction::ShowVersion: std::cout << VersionText("marlo"); return 0;
    case TStartAction::UsageError: std::cerr << "marlo: " << options.Problem << "\n" << MarloUsage; return 2;
    case TStartAction::Run: break;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // --help and --version are answered before Qt starts: they need no
    // display and touch neither the settings nor a running copy. An option
    // unknown here may still be one of Qt's, which the application takes out
    // of argv; what is left is read again.
    const TStartOptions early = ReadStartOptions(Parameters(argc, argv));
    if (early.Action == TStartAction::ShowHelp || early.Action == TStartAction::ShowVersion) return Answer(early);
    QApplication application(argc, argv);
    const TStartOptions options = ReadStartOptions(Parameters(argc, argv));
    if (options.Action != TStartAction::Run) return Answer(options);

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
