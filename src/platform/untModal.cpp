#include "untModal.h"

#include "jsUtils.h"
#include "untFileNames.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

namespace {

IModalAnswerer* Answerer = nullptr;

QMessageBox::Icon IconOf(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Error: return QMessageBox::Critical;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(TMessageButtons buttons)
{
    switch (buttons) {
    case TMessageButtons::Ok: return QMessageBox::Ok;
    case TMessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case TMessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// Closing a box with Escape or its close button counts as the safe answer.
TMessageAnswer AnswerOf(int result, TMessageButtons buttons)
{
    switch (result) {
    case QMessageBox::Ok: return TMessageAnswer::Ok;
    case QMessageBox::Yes: return TMessageAnswer::Yes;
    case QMessageBox::No: return TMessageAnswer::No;
    case QMessageBox::Cancel: return TMessageAnswer::Cancel;
    }
    if (buttons == TMessageButtons::YesNo) return TMessageAnswer::No;
    return buttons == TMessageButtons::Ok ? TMessageAnswer::Ok : TMessageAnswer::Cancel;
}

} // namespace

IModalAnswerer* SetModalAnswerer(IModalAnswerer* answerer)
{
    IModalAnswerer* previous = Answerer;
    Answerer = answerer;
    return previous;
}

int ExecModal(QDialog& dialog)
{
    if (Answerer) return Answerer->Answer(dialog);
    return dialog.exec();
}

QStringList ChooseOpenFiles(QWidget* parent, const TOpenFilesRequest& request)
{
    if (Answerer) return Answerer->OpenFiles(request);
    QFileDialog dialog(parent, request.Caption, request.Folder);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(request.Filters);
    dialog.selectNameFilter(request.SelectedFilter);
    if (ExecModal(dialog) != QDialog::Accepted) return QStringList();
    // The URLs keep the bytes of names that are not UTF-8, where a desktop's
    // own file dialog lists them.
    QStringList files;
    for (const QUrl& url : dialog.selectedUrls()) files << LocalFileOfUrl(url);
    return files;
}

QString ChooseSaveFile(QWidget* parent, const TSaveFileRequest& request)
{
    if (Answerer) return Answerer->SaveFile(request);
    QFileDialog dialog(parent, request.Caption, request.Folder);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(request.Filters);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    // A name typed without an ending takes that of the chosen kind of file.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QRegularExpressionMatch ending = QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)$")).match(filter);
        if (ending.hasMatch()) dialog.setDefaultSuffix(ending.captured(1));
    });
    if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
    return ExecModal(dialog) == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void SystemBeep()
{
    if (Answerer) Answerer->Beeped();
    QApplication::beep();
}

TMessageAnswer TGuiMessageSink::Show(TMessageKind kind, const std::string& text, TMessageButtons buttons)
{
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(IconOf(kind), QString::fromStdString(FileDescription()), shown, ButtonsOf(buttons),
                    QApplication::activeWindow());
    box.setObjectName("MessageBox");
    return AnswerOf(ExecModal(box), buttons);
}

void TGuiMessageSink::Beep(int, int) { SystemBeep(); }

void TGuiMessageSink::MessageBeep() { SystemBeep(); }
