// The training window's data pages: the splits, and the grids' copy menu and
// column choice.
#include "untTraining.h"

#include "untGridMenu.h"
#include "untIniFile.h"
#include "untTrainingGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableView>

namespace {

// The layout keys of the four grids' column widths.
const char* const IntervalColumnsKey = "IntColumns";
const char* const StrokeColumnsKey = "StrokeColumns";
const char* const CurveColumnsKey = "CurveColumns";
const char* const SplitColumnsKey = "SplitColumns";
const char* const SplitKindKey = "SplitKind";
const char* const SplitSizeKey = "SplitSize";

// The size a kind starts with when it is chosen.
double FirstSplitSize(TSplitKind kind)
{
    switch (kind) {
    case TSplitKind::Strokes: return 10;
    case TSplitKind::Distance: return 500;
    case TSplitKind::Time: return 60;
    }
    return 0;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

} // namespace

QList<QTableView*> TfrmTraining::Grids() const { return {sgdIntervals, sgdStrokeData, sgdSplits, sgdForceCurves}; }

void TfrmTraining::CreateDataCommands()
{
    pmnCopyData = new TGridMenu(this, "SelectColumns");
    for (QTableView* grid : Grids()) pmnCopyData->Attach(*grid);

    connect(rbtStrokes, &QRadioButton::clicked, this, [this] { SplitKindClick(TSplitKind::Strokes); });
    connect(rbtDistance, &QRadioButton::clicked, this, [this] { SplitKindClick(TSplitKind::Distance); });
    connect(rbtTime, &QRadioButton::clicked, this, [this] { SplitKindClick(TSplitKind::Time); });
    connect(cmbSplits, &QComboBox::editTextChanged, this, &TfrmTraining::cmbSplitsChange);
    SetSplitSetting(FSplitSetting);
}

// --- Splits ---

void TfrmTraining::SetSplitSetting(const TSplitSetting& setting)
{
    FSplitSetting = setting;
    const QSignalBlocker quiet(cmbSplits);
    const std::pair<QRadioButton*, TSplitKind> kinds[] = {
        {rbtStrokes, TSplitKind::Strokes}, {rbtDistance, TSplitKind::Distance}, {rbtTime, TSplitKind::Time}};
    for (const auto& [button, kind] : kinds) button->setChecked(kind == setting.Kind);
    cmbSplits->clear();
    for (double size : UsualSplitSizes(setting.Kind)) cmbSplits->addItem(Text(SplitSizeText(setting.Kind, size)));
    const QString size = Text(SplitSizeText(setting.Kind, setting.Size));
    cmbSplits->setCurrentIndex(cmbSplits->findText(size));
    cmbSplits->setEditText(size);
    ShowSplits();
}

void TfrmTraining::SplitKindClick(TSplitKind kind)
{
    if (kind != FSplitSetting.Kind) SetSplitSetting({kind, FirstSplitSize(kind)});
}

void TfrmTraining::cmbSplitsChange()
{
    // A text that is no size splits nothing until it is mended.
    const auto size = ParseSplitSize(FSplitSetting.Kind, cmbSplits->currentText().toStdString());
    FSplitSetting.Size = size ? *size : 0;
    ShowSplits();
}

void TfrmTraining::ShowSplits()
{
    auto* model = qobject_cast<TTrainingGridModel*>(sgdSplits->model());
    model->SetSplits(ComputeSplits(Training, FSplitSetting));
    pnlNoSplits->setVisible(model->Splits().empty());
}

// --- Layout ---

void TfrmTraining::ReadGridLayout(const TIniFile& ini, const std::string& section)
{
    const std::pair<QTableView*, const char*> grids[] = {{sgdIntervals, IntervalColumnsKey},
                                                         {sgdStrokeData, StrokeColumnsKey},
                                                         {sgdForceCurves, CurveColumnsKey},
                                                         {sgdSplits, SplitColumnsKey}};
    for (const auto& [grid, key] : grids) TextToColumnWidths(*grid, Text(ini.ReadString(section, key, "")));
    const int kind = ini.ReadInteger(section, SplitKindKey, static_cast<int>(FSplitSetting.Kind));
    if (kind < static_cast<int>(TSplitKind::Strokes) || kind > static_cast<int>(TSplitKind::Time)) return;
    const TSplitKind splitKind = static_cast<TSplitKind>(kind);
    const auto size = ParseSplitSize(TSplitKind::Strokes, ini.ReadString(section, SplitSizeKey, ""));
    SetSplitSetting({splitKind, size ? *size : FirstSplitSize(splitKind)});
}

void TfrmTraining::WriteGridLayout(TIniFile& ini, const std::string& section) const
{
    ini.WriteString(section, IntervalColumnsKey, ColumnWidthsToText(*sgdIntervals).toStdString());
    ini.WriteString(section, StrokeColumnsKey, ColumnWidthsToText(*sgdStrokeData).toStdString());
    ini.WriteString(section, CurveColumnsKey, ColumnWidthsToText(*sgdForceCurves).toStdString());
    ini.WriteString(section, SplitColumnsKey, ColumnWidthsToText(*sgdSplits).toStdString());
    ini.WriteInteger(section, SplitKindKey, static_cast<int>(FSplitSetting.Kind));
    ini.WriteString(section, SplitSizeKey, FloatToStr(FSplitSetting.Size));
}
