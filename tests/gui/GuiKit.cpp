#include "GuiKit.h"

#include "DemoTraining.h"
#include "jsUtils.h"
#include "untFiles.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QWindow>
#include <QTest>

TDialogScript::TDialogScript() : Previous(SetModalAnswerer(this)) {}

TDialogScript::~TDialogScript() { SetModalAnswerer(Previous); }

int TDialogScript::Answer(QDialog& dialog)
{
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        Messages << box->text();
        if (Buttons.empty()) return QMessageBox::Ok;
        const int button = Buttons.front();
        Buttons.pop_front();
        return button;
    }
    Dialogs << dialog.objectName();
    if (OnDialog) OnDialog(dialog);
    return QDialog::Accepted;
}

QStringList TDialogScript::OpenFiles(const TOpenFilesRequest& request)
{
    OpenRequests.push_back(request);
    return FilesToChoose;
}

QString TDialogScript::SaveFile(const TSaveFileRequest& request)
{
    SaveRequests.push_back(request);
    return FileToSave;
}

void TShellTest::SetUp()
{
    SetDocumentsFolderOverride(Root.Path() + "Documents");
    QDir().mkpath(ProgramFolder());
    SetProgramFileName((ProgramFolder() + "marlo").toStdString());
    PreviousSink = SetMessageSink(&Sink);
    FormatSettings() = DotFormat();
}

void TShellTest::TearDown()
{
    SetMessageSink(PreviousSink);
    SetProgramFileName("");
    SetDocumentsFolderOverride(std::nullopt);
}

std::unique_ptr<TfrmMain> TShellTest::NewMain() { return std::make_unique<TfrmMain>(); }

QString TShellTest::WriteTraining(const QString& name, int strokes, uint8_t kind)
{
    TTraining training = MakeDemoTraining(strokes);
    training.Header.FileKind = kind;
    return WriteTraining(name, training);
}

QString TShellTest::WriteTraining(const QString& name, const TTraining& training)
{
    QDir().mkpath(QString::fromStdString(Root.Path()) + "data");
    const QString path = QString::fromStdString(Root.Path()) + "data/" + name;
    WriteBytes(path.toStdString(), *TrainingFileBytes(training));
    return path;
}

QString TShellTest::DataFolder() const { return QString::fromStdString(UserDataFolder()); }

QString TShellTest::SettingsPath() const { return DataFolder() + "marlo.ini"; }

QString TShellTest::ReadSettings() const { return QString::fromStdString(ReadBytes(SettingsPath().toStdString())); }

void TShellTest::WriteSettings(const std::string& text) const { WriteBytes(SettingsPath().toStdString(), text); }

QStringList VisibleEntries(const QMenu* menu)
{
    QStringList entries;
    for (const QAction* action : menu->actions())
        if (action->isVisible()) entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return entries;
}

QMap<QString, QStringList> AltKeys(const QWidget* root)
{
    QMap<QString, QStringList> keys;
    const auto add = [&keys](const QString& text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) keys[key.toString()] << text;
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(const_cast<QWidget*>(root));
    for (const QWidget* widget : widgets) {
        if (!widget->isVisible()) continue;
        if (auto* label = qobject_cast<const QLabel*>(widget)) add(label->text());
        else if (auto* button = qobject_cast<const QAbstractButton*>(widget)) add(button->text());
        else if (auto* group = qobject_cast<const QGroupBox*>(widget)) add(group->title());
        else if (auto* tabs = qobject_cast<const QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabVisible(i)) add(tabs->tabText(i));
        } else if (auto* bar = qobject_cast<const QMenuBar*>(widget)) {
            for (const QAction* menu : bar->actions())
                if (menu->isVisible()) add(menu->text());
        }
    }
    return keys;
}

void Settle(int ms)
{
    QCoreApplication::processEvents();
    if (ms > 0) QTest::qWait(ms);
}

QImage OnScreen(QWidget* widget)
{
    QWidget* top = widget->window();
    const QPixmap whole = top->screen()->grabWindow(top->windowHandle()->winId());
    const QRect area(widget->mapTo(top, QPoint(0, 0)) * top->devicePixelRatio(), widget->size() * top->devicePixelRatio());
    return whole.copy(area).toImage().convertToFormat(QImage::Format_RGB32);
}
