// Runs the window tests offscreen in private temporary folders, so that they
// need no display and never touch the user's files. Started with
// "--instance-helper NAME [PARAMETERS...]" it plays a later copy of the
// program for the single-instance tests instead: exit code 0 when it handed
// over and should end, 3 when it runs on. Started with "--screen-saver-service"
// it plays the desktop's screen-saver service on the session bus.
#include "untInstance.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

std::string MakePrivateFolder()
{
    std::string folder = QDir::tempPath().toStdString() + "/marlo-gui-XXXXXX";
    if (!mkdtemp(folder.data())) return QDir::tempPath().toStdString();
    return folder;
}

int RunInstanceHelper(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QStringList parameters = QCoreApplication::arguments().mid(3);
    const bool multipleCopies = !parameters.isEmpty() && parameters.first() == "--multiple";
    if (multipleCopies) parameters.removeFirst();
    TInstance instance(QString::fromLocal8Bit(argv[2]), multipleCopies);
    return instance.HandOver(parameters) ? 0 : 3;
}

} // namespace

int RunScreenSaverService(int argc, char** argv);

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--instance-helper") == 0) return RunInstanceHelper(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--screen-saver-service") == 0) return RunScreenSaverService(argc, argv);

    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string privateFolder = MakePrivateFolder();
    setenv("XDG_RUNTIME_DIR", privateFolder.c_str(), 1);
    setenv("HOME", privateFolder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (privateFolder + "/.config").c_str(), 1);

    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(QString::fromStdString(privateFolder)).removeRecursively();
    return result;
}
