// The main window's creation, commands and lookups.
#include "untMain.h"

#include "jsUtils.h"
#include "untAbout.h"
#include "untDialog.h"
#include "untExport.h"
#include "untFileNames.h"
#include "untFiles.h"
#include "untForceCurves.h"
#include "untFormUtils.h"
#include "untImages.h"
#include "untInstance.h"
#include "untIniFile.h"
#include "untMenuBar.h"
#include "untModal.h"
#include "untPowerSaving.h"
#include "untShell.h"
#include "untSplash.h"
#include "untStatusBar.h"
#include "untTraining.h"
#include "untWelcome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

#include <limits>

namespace {

struct THelpDocument {
    const char* Letter;
    const char* Caption;
    const char* Hint;
    int Tag;
};

const THelpDocument HelpDocumentList[] = {
    {"f", "&Flyer", "Opens the promo flyer", 3},
    {"q", "&Quick Start Guide", "Opens the Quick Start Guide", 2},
    {"m", "&Manual", "Opens the manual", 1},
};

QString HelpDocumentPath(int tag)
{
    for (const THelpDocument& document : HelpDocumentList)
        if (document.Tag == tag) return QString::fromStdString(HelpDocumentName(document.Letter));
    return QString();
}

QStringList DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << LocalFileOfUrl(url);
    return files;
}

// Adds one to a usage counter; one read from the settings file may already
// stand at the largest int.
void CountOne(int& counter)
{
    if (counter < std::numeric_limits<int>::max()) ++counter;
}

} // namespace

QString ExitQuestion()
{
    return QStringLiteral("This will exit %1. Are you sure? %2").arg(QString::fromStdString(FileDescription()), QString());
}

TfrmMain::TfrmMain(TInstance* instance, QWidget* parent) : TMDIMain(parent)
{
    setObjectName("frmMain");
    CreateCommands();
    LoadView();

    EnableWindowButtons(true);
    SetButtonCutStyle(0);
    if (windowState() == Qt::WindowNoState) resize(800, 600);
    if (instance) connect(instance, &TInstance::Activated, this, &TfrmMain::ActivateFromInstance);
    setAcceptDrops(true);
    PowerSaving = new TPowerSavingBlock(this);
    connect(PowerSaving, &TPowerSavingBlock::Held, this, [this] {
        SetMessageText(QStringLiteral("Screen saver blocked at %1").arg(QString::fromStdString(NowTimeText())));
    });
    StartTime = Now();
    LoadSettings();
    CountOne(Counters.TimesStarted);
    BuildRecentMenu();
    HideUnofferedCommands();
    AddHelpDocuments();
    HelpWelcome->setVisible(true);
    Client()->SetWallpaper(BackgroundPicture());
    BuildToolBar();
    UpdateActions();
}

TfrmMain::~TfrmMain()
{
    SaveSettings();
    SaveViewAndToolbars();
}

std::string TfrmMain::SettingsFile() const { return SettingsFileName(false); }

void TfrmMain::CreateCommands()
{
    const auto hidden = [this](const char* name, const char* caption) {
        QAction* action = MakeAction(name, caption, QString());
        action->setVisible(false);
        return action;
    };
    const auto separator = [](QMenu* menu, QAction* before) {
        QAction* line = new QAction(menu);
        line->setSeparator(true);
        menu->insertAction(before, line);
        return line;
    };

    FileOpen = MakeAction("FileOpen", "&Open ...", "Open|Opens a training file", QKeySequence(Qt::CTRL | Qt::Key_O),
                          imgOpen);
    FileClose = MakeAction("FileClose", "&Close", "Close|Closes the active window", {}, imgClose);
    FileSaveAs = MakeAction("FileSaveAs", "Save &As ...", "Save as|Saves the shown force curve as a stroke file",
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    FileSaveAs->setVisible(false);
    FileExport = MakeAction("FileExport", "&Export ...",
                            "Export|Exports the training as a FIT, TCX or rowing data CSV file for other training tools",
                            QKeySequence(Qt::CTRL | Qt::Key_E));
    FileSaveChart = MakeAction("FileSaveChart", "Save &Chart ...",
                               "Save chart|Saves the active chart window's chart as a PNG picture");
    FileMenu->insertActions(FileExit, {hidden("FileStart", "&Start"), hidden("FileNew", "&New"), FileOpen,
                                       hidden("FileBrowse", "&Browse ..."), hidden("FileDatabase", "&Database ..."),
                                       hidden("FileCalendar", "Ca&lendar ..."), FileClose, hidden("FileSave", "&Save"),
                                       FileSaveAs, FileExport, FileSaveChart,
                                       hidden("FileSaveDesktop", "Save &Desktop ...")});
    separator(FileMenu, FileExit);
    RecentSeparator = separator(FileMenu, FileExit);
    RecentSeparator->setVisible(false);

    EditCopyChart = MakeAction("EditCopyChart", "&Copy Chart",
                               "Copy chart|Copies the active chart window's chart to the clipboard",
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    EditMenu->addAction(EditCopyChart);

    QAction* viewTraining = hidden("ViewTraining", "&Training ...");
    viewTraining->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    ViewMenu->addSeparator();
    ViewMenu->addActions({hidden("ViewRow", "&Row ..."), viewTraining, hidden("ViewClients", "&Clients ..."),
                          hidden("ViewSynchronise", "S&ynchronise ..."), hidden("ViewUsers", "&Users ..."),
                          hidden("ViewOptions", "&Options ...")});
    ViewMenu->addSeparator();
    QMenu* layout = ViewMenu->addMenu(QStringLiteral("&Layout"));
    layout->setObjectName("LayoutMenu");
    layout->menuAction()->setObjectName("Layout_Menu");
    layout->menuAction()->setVisible(false);
    layout->addActions({hidden("LayoutOpen", "&Open ..."), hidden("LayoutSaveAs", "Save &As ...")});

    AnalyseMenu = MakeMenu("Analyse_Menu", QStringLiteral("&Analyse"), WindowMenu->menuAction());
    AnalyseForceCurves = MakeAction("AnalyseForceCurves", "&Force Curves ...",
                                    "Force curves|Draws, browses and plays the force curves", {}, imgForceCurves);
    AnalyseStrokeData = MakeAction("AnalyseStrokeData", "&Stroke Data ...",
                                   "Stroke data|Charts a stroke value of the sessions against stroke, time or distance");
    AnalyseMenu->addActions({hidden("AnalyseSummary", "&Summary ..."), hidden("AnalyseIntervals", "&Intervals ..."),
                             hidden("AnalyseSession", "S&ession ..."), hidden("AnalyseRace", "&Race ..."),
                             AnalyseStrokeData, AnalyseForceCurves});

    HelpWelcome = MakeAction("HelpWelcome", "W&elcome ...", "Welcome|Shows the welcome window");
    HelpMenu->insertAction(HelpAbout, HelpWelcome);

    connect(FileOpen, &QAction::triggered, this, &TfrmMain::FileOpenExecute);
    connect(FileClose, &QAction::triggered, this, &TfrmMain::FileCloseExecute);
    connect(FileSaveAs, &QAction::triggered, this, &TfrmMain::FileSaveAsExecute);
    connect(FileExport, &QAction::triggered, this, &TfrmMain::FileExportExecute);
    connect(AnalyseForceCurves, &QAction::triggered, this, &TfrmMain::AnalyseForceCurvesExecute);
    connect(AnalyseStrokeData, &QAction::triggered, this, &TfrmMain::AnalyseStrokeDataExecute);
    connect(FileSaveChart, &QAction::triggered, this, [this] { ActiveChartPicture(true); });
    connect(EditCopyChart, &QAction::triggered, this, [this] { ActiveChartPicture(false); });
    connect(HelpWelcome, &QAction::triggered, this, &TfrmMain::HelpWelcomeExecute);
    for (QMenu* menu : {FileMenu, EditMenu, ViewMenu, AnalyseMenu, HelpMenu})
        connect(menu, &QMenu::aboutToShow, this, &TfrmMain::UpdateActions);
}

void TfrmMain::HideUnofferedCommands()
{
    WindowMenu->menuAction()->setVisible(false);
    SetTag(WindowMenu->menuAction(), -1);
    // Of the Edit menu only the chart's copy is shown. Cut, copy, paste and
    // find leave the menu but stay on the window, where their shortcuts keep
    // serving the focused edit.
    for (QAction* item : EditMenu->actions()) {
        if (item == EditCopyChart) continue;
        EditMenu->removeAction(item);
        if (!item->isSeparator()) addAction(item);
    }
    HelpUpdate->setVisible(false);
    for (QMenu* menu : {FileMenu, ViewMenu, AnalyseMenu, HelpMenu}) HideEmptySeparators(menu);
}

void TfrmMain::AddHelpDocuments()
{
    QAction* first = HelpMenu->actions().value(0);
    for (const THelpDocument& document : HelpDocumentList) {
        if (!QFileInfo::exists(QString::fromStdString(HelpDocumentName(document.Letter)))) continue;
        QAction* item = MakeAction("", document.Caption, document.Hint, {}, imgDocument);
        item->setObjectName(QStringLiteral("HelpPDF%1").arg(document.Tag));
        SetTag(item, document.Tag);
        connect(item, &QAction::triggered, this, &TfrmMain::HelpPDFExecute);
        HelpMenu->insertAction(first, item);
        HelpDocuments << item;
    }
    if (HelpDocuments.isEmpty()) return;
    auto* line = new QAction(HelpMenu);
    line->setSeparator(true);
    HelpMenu->insertAction(first, line);
}

void TfrmMain::SetDialogs(TFormDialog* chartOptions, TFormDialog* selectColumns)
{
    ChartOptions = chartOptions;
    SelectColumns = selectColumns;
}

// --- Opening files ---

bool TfrmMain::OpenLimitReached()
{
    if (OpenTrainingCount() <= MaxOpenTrainings - 1) return false;
    ShowErrorMessage(QStringLiteral("Only %1 file(s) / training session(s) can be opened at the same time.")
                         .arg(MaxOpenTrainings)
                         .toStdString());
    return true;
}

void TfrmMain::OpenFile(const QString& path)
{
    if (OpenLimitReached()) return;
    OpenTraining(SettingsFileName(false), path);
}

void TfrmMain::OpenTraining(const std::string& settingsPath, const QString& path)
{
    if (OpenLimitReached()) return;
    // The name may hold bytes that are not UTF-8 (see untFileNames.h): it is
    // made absolute as text and looked up by its bytes.
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const std::string file = FileNameBytes(full);
    if (!FileExists(file)) {
        ShowErrorMessage(QStringLiteral("File \"%1\" not found.").arg(ShownFileName(full)).toStdString());
        SetMessageText(QString());
        RemoveRecentFile(full);
        return;
    }
    SetMessageText(QStringLiteral("Opening file \"%1\" ...").arg(ShownFileName(full)));
    Status()->repaint();
    if (FormatOfExtension(file) == 0) {
        ShowErrorMessage(QStringLiteral("Extension \"%1\" not supported.")
                             .arg(QString::fromStdString(ExtractFileExt(file)))
                             .toStdString());
        SetMessageText(QString());
        return;
    }
    auto training = std::make_unique<TTraining>();
    const bool read = OpenTrainingFile(file, *training, true, [this](double fraction) { SetProgressFraction(fraction); });
    SetProgress(-1);
    if (!read) return;
    if (training->Header.FileKind != fkTraining) {
        training->Header.Visible = training->Strokes.size() > 1;
        training->Header.CurveIndex = 1;
    }
    auto* window = new TfrmTraining(this, *this);
    window->Training = std::move(*training);
    window->Training.ClientID = ++NextWindowNumber;
    AddChild(window);
    window->LoadTrainingLayout(settingsPath, TrainingPlacement, path);
    window->ApplyTrainingStyle(ProgramFont, palette().text().color(), palette().base().color(),
                               palette().window().color());
    NotifyForceCurves(true);
    CountOne(Counters.FilesOpened);
    FLastDir = full.left(full.lastIndexOf(QLatin1Char('/')) + 1);
    AddRecentFile(full);
    SetMessageText(QString());
    RefreshWindowButtons(); // the caption is known only now
    UpdateActions();
}

void TfrmMain::FileOpenExecute()
{
    if (OpenLimitReached()) return;
    const TFileFilter filter = BuildFileFilter(OpenDialogFormats, true, true, true);
    TOpenFilesRequest request;
    request.Caption = QStringLiteral("Open file");
    request.Folder = FLastDir;
    request.Filters = QtFileFilters(filter.Filter);
    request.SelectedFilter = request.Filters.value(filter.Count - 1);
    for (const QString& file : ChooseOpenFiles(this, request)) OpenFile(file);
    RefreshWindowButtons();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppedFiles(event->mimeData());
    event->acceptProposedAction();
    for (const QString& file : files) OpenFile(file);
}

// --- Recent files ---

void TfrmMain::AddRecentFile(const QString& path)
{
    RemoveRecentMenu();
    Recent.removeIf([&path](const QString& entry) { return entry.compare(path, Qt::CaseInsensitive) == 0; });
    while (Recent.size() > MaxRecentFiles - 1) Recent.removeAt(MaxRecentFiles - 1);
    Recent.prepend(path);
    BuildRecentMenu();
}

void TfrmMain::RemoveRecentFile(const QString& path)
{
    RemoveRecentMenu();
    Recent.removeIf([&path](const QString& entry) { return entry.compare(path, Qt::CaseInsensitive) == 0; });
    BuildRecentMenu();
}

void TfrmMain::RemoveRecentMenu()
{
    qDeleteAll(RecentItems);
    RecentItems.clear();
}

void TfrmMain::BuildRecentMenu()
{
    if (Recent.isEmpty()) return;
    const QFontMetrics metrics(FileMenu->font());
    const auto width = [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    };
    for (int i = 0; i < Recent.size(); ++i) {
        const QString path = Recent[i];
        QString shown = QString::fromStdString(ShortenPath(ShownFileName(path).toStdString(), width, 200));
        auto* item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown.replace('&', "&&")), FileMenu);
        item->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        item->setStatusTip(QStringLiteral("Open file \"%1\"").arg(ShownFileName(path)));
        connect(item, &QAction::triggered, this, [this, path] { OpenFile(path); });
        FileMenu->insertAction(FileExit, item);
        RecentItems << item;
    }
    auto* line = new QAction(FileMenu);
    line->setSeparator(true);
    FileMenu->insertAction(FileExit, line);
    RecentItems << line;
}

// --- Other commands ---

void TfrmMain::FileCloseExecute()
{
    if (QMdiSubWindow* active = Client()->activeSubWindow()) active->close();
}

void TfrmMain::FileSaveAsExecute()
{
    if (auto* forceCurves = qobject_cast<TfrmForceCurves*>(Client()->activeSubWindow()))
        forceCurves->ExportStrokeFile(FLastDir);
}

int TfrmMain::ActiveTrainingIndex() const
{
    QMdiSubWindow* active = Client()->activeSubWindow();
    if (auto* chart = qobject_cast<TfrmChart*>(active)) return chart->SelectedIndex();
    const QList<TfrmTraining*> trainings = OpenTrainings();
    const int shown = static_cast<int>(trainings.indexOf(qobject_cast<TfrmTraining*>(active)));
    // With no training window active, the one open training.
    return shown >= 0 ? shown : trainings.size() == 1 ? 0 : -1;
}

void TfrmMain::FileExportExecute()
{
    const int index = ActiveTrainingIndex();
    if (index < 0) return;
    TTraining training;
    CopyTraining(index, training);
    // What keeps every format from taking the training is told before a file is asked for.
    const std::string refusal = ExportRefusal(training, TExportFormat::Tcx);
    if (!refusal.empty()) {
        ShowErrorMessage(refusal);
        return;
    }
    TSaveFileRequest request;
    request.Caption = QStringLiteral("Export training");
    request.Folder = FLastDir;
    request.FileName = QFileInfo(QString::fromStdString(TrainingFileName(training))).completeBaseName();
    for (TExportFormat format : {TExportFormat::Fit, TExportFormat::Tcx, TExportFormat::RowingCsv})
        request.Filters << QString::fromStdString(ExportFilter(format));
    request.DefaultSuffix = QStringLiteral("fit");
    const QString path = ChooseSaveFile(this, request);
    if (path.isEmpty()) return;
    const auto format = ExportFormatNamed(QFileInfo(path).suffix().toLower().toStdString());
    if (!format) {
        ShowErrorMessage("Choose a file name ending in .fit, .tcx or .csv: the ending says which kind of file to export.");
        return;
    }
    ExportTrainingFile(FileNameBytes(path), training, *format);
}

void TfrmMain::AnalyseForceCurvesExecute() { ShowForceCurves(); }

void TfrmMain::ShowForceCurves()
{
    if (BringForward(frmForceCurves)) return;
    frmForceCurves = new TfrmForceCurves(this, *this);
    AddChartWindow(frmForceCurves);
    frmForceCurves->SetPlayInterval(60000 / 120);
}

void TfrmMain::AnalyseStrokeDataExecute() { ShowStrokeData(); }

void TfrmMain::ShowStrokeData()
{
    if (BringForward(frmStrokeData)) return;
    frmStrokeData = new TfrmStrokeData(this, *this);
    AddChartWindow(frmStrokeData);
}

bool TfrmMain::BringForward(TfrmChart* window)
{
    if (!window) return false;
    // Showing a window brings it forward, also over a maximised training window.
    window->show();
    Client()->setActiveSubWindow(window);
    if (window->isMinimized()) WindowMaximizeExecute();
    return true;
}

void TfrmMain::AddChartWindow(TfrmChart* window)
{
    AddChild(window);
    window->LoadLayout(SettingsFileName(false), TrainingPlacement);
    window->ApplyColors(ProgramFont, palette().text().color(), palette().base().color(), palette().window().color());
    window->ReloadTrainings(true);
}

void TfrmMain::ActiveChartPicture(bool save)
{
    if (auto* chart = qobject_cast<TfrmChart*>(Client()->activeSubWindow())) chart->CopyChartImage(save);
}

void TfrmMain::HelpWelcomeExecute()
{
    TfrmWelcome welcome(this);
    welcome.ApplyFontAndColors(ProgramFont, palette().text().color(), palette().base().color(),
                               palette().window().color());
    ExecModal(welcome);
}

QList<QPair<QString, QString>> TfrmMain::StatisticsRows() const
{
    const auto duration = [](double days) { return QString::fromStdString(DurationText(days)); };
    return {
        {QStringLiteral("Running time"), duration(Now() + Counters.RunningTime - StartTime)},
        {QStringLiteral("Times started"), QString::number(Counters.TimesStarted)},
        {QStringLiteral("Rowing time"), duration(Counters.RowingTime)},
        {QStringLiteral("Rowing sessions"), QString::number(Counters.RowingSessions)},
        {QStringLiteral("Files opened"), QString::number(Counters.FilesOpened)},
        {QStringLiteral("Files saved"), QString::number(Counters.FilesSaved)},
    };
}

void TfrmMain::HelpAboutExecute()
{
    TfrmAbout about(this);
    about.ApplyFontAndColors(ProgramFont, palette().text().color(), palette().base().color(),
                             palette().window().color());
    for (const auto& row : StatisticsRows()) about.AddRow(about.Statistics(), row.first, row.second);
    ExecModal(about);
}

void TfrmMain::HelpPDFExecute()
{
    if (auto* item = qobject_cast<QAction*>(sender())) OpenDocument(HelpDocumentPath(TagOf(item)));
}

void TfrmMain::UpdateActions()
{
    TMDIMain::UpdateActions();
    if (!FileOpen) return;
    const int open = OpenTrainingCount();
    QMdiSubWindow* active = Client()->activeSubWindow();
    FileOpen->setEnabled(open == 0);
    FileClose->setEnabled(active != nullptr);
    // Save As exports the shown force curve: offered while the force-curve window is active.
    const bool forceCurves = qobject_cast<TfrmForceCurves*>(active) != nullptr;
    FileSaveAs->setVisible(forceCurves);
    FileSaveAs->setEnabled(forceCurves);
    FileExport->setEnabled(ActiveTrainingIndex() >= 0);
    AnalyseForceCurves->setEnabled(open >= 1);
    AnalyseStrokeData->setEnabled(open >= 1);
    const bool chart = qobject_cast<TfrmChart*>(active) != nullptr;
    FileSaveChart->setEnabled(chart);
    EditCopyChart->setEnabled(chart);
    for (QAction* document : HelpDocuments) document->setEnabled(QFileInfo::exists(HelpDocumentPath(TagOf(document))));
}

void TfrmMain::ApplyFontAndColors()
{
    ProgramFont = MessageFont();
    setFont(ProgramFont);
    const QPalette colours = palette();
    const QColor text = colours.text().color(), window = colours.base().color(), face = colours.window().color();
    for (TFormDialog* dialog : {ChartOptions.data(), SelectColumns.data()})
        if (dialog) dialog->ApplyFontAndColors(ProgramFont, text, window, face);
    if (frmForceCurves) frmForceCurves->ApplyColors(ProgramFont, text, window, face);
    if (frmStrokeData) frmStrokeData->ApplyColors(ProgramFont, text, window, face);
    for (TfrmTraining* training : OpenTrainings()) training->ApplyTrainingStyle(ProgramFont, text, window, face);
    update();
}

// --- Lookups over the open training windows ---

QList<TfrmTraining*> TfrmMain::OpenTrainings() const
{
    QList<TfrmTraining*> trainings;
    const QList<QMdiSubWindow*> children = Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        auto* training = qobject_cast<TfrmTraining*>(*child);
        if (training && !training->IsClosing()) trainings << training;
    }
    return trainings;
}

TfrmTraining* TfrmMain::Training(int i) const { return OpenTrainings().value(i); }

int TfrmMain::OpenTrainingCount() const { return static_cast<int>(OpenTrainings().size()); }

int TfrmMain::TrainingWindowIndex(int i) const
{
    TfrmTraining* training = Training(i);
    return training ? static_cast<int>(Children().indexOf(training)) : -1;
}

TTraining* TfrmMain::TrainingRecord(int i) const
{
    TfrmTraining* training = Training(i);
    return training ? &training->Training : nullptr;
}

void TfrmMain::CopyTraining(int i, TTraining& record) const
{
    record = TTraining{};
    if (const TTraining* source = TrainingRecord(i)) record = *source;
}

void TfrmMain::CloseTrainingsByNumber(int number)
{
    for (TfrmTraining* training : OpenTrainings())
        if (training->Training.ClientID == number) training->close();
    if (frmForceCurves) frmForceCurves->TrainingsClosed();
    if (frmStrokeData) frmStrokeData->TrainingsClosed();
}

void TfrmMain::RefreshForceCurveList()
{
    if (frmForceCurves) frmForceCurves->clbTrainingsClick();
    if (frmStrokeData) frmStrokeData->clbTrainingsClick();
    RefreshWindowButtons();
}

void TfrmMain::NotifyForceCurves(bool reload)
{
    if (frmForceCurves) frmForceCurves->ReloadTrainings(reload);
    if (frmStrokeData) frmStrokeData->ReloadTrainings(reload);
}

void TfrmMain::ChildClosing(QMdiSubWindow* child)
{
    // A closed force-curve window is freed later; from now on it is gone, and
    // the next Force Curves command makes a new one.
    if (child == frmForceCurves) frmForceCurves = nullptr;
    if (child == frmStrokeData) frmStrokeData = nullptr;
    TMDIMain::ChildClosing(child);
}

// --- Showing, closing and the hand-over from a later copy ---

void TfrmMain::showEvent(QShowEvent* event)
{
    TMDIMain::showEvent(event);
    ApplyFontAndColors();
    if (!FirstShowPending) return;
    FirstShowPending = false;
    QMetaObject::invokeMethod(this, &TfrmMain::FirstShow, Qt::QueuedConnection);
}

void TfrmMain::FirstShow()
{
    if (SettingsFileName(true).empty()) {
        ShowWarningMessage(QStringLiteral("There was an error saving program settings to file\r\"%1\".\r"
                                          "Please consider running %2 with Adminstrative\r"
                                          "rights, change the access rights to this file or\r"
                                          "install the software in a different folder.")
                               .arg(QString::fromStdString(SettingsFileName(false)),
                                    QString::fromStdString(FileDescription()))
                               .toStdString());
    }
    MoveDataFiles();
    {
        TfrmSplash splash(this, 0);
        splash.SetDisplayTime(true);
        splash.SplashStep(QString());
        ExecModal(splash);
    }
    ShowWelcome();
}

void TfrmMain::ShowWelcome()
{
    const TIniFile ini(SettingsFileName(false));
    const auto stored = static_cast<uint32_t>(ini.ReadInteger("General", "Welcome", 0));
    if (stored < CurrentVersion()) HelpWelcomeExecute();
}

void TfrmMain::ActivateFromInstance(const QString& text)
{
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    const QStringList lines = HandOverLines(text);
    TfrmSplash splash(this, static_cast<int>(lines.size()));
    splash.show();
    for (const QString& line : lines) splash.SplashStep(line);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!AskOkCancel(ExitQuestion().toStdString())) {
        event->ignore();
        return;
    }
    TMDIMain::closeEvent(event);
}
