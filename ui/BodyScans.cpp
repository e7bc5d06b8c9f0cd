// The list of opened files: a row per record with its flag, the preview of
// the selected one, and taking files off the list again.

#include "data/DataSet.h"
#include "ui/Body.h"
#include "ui/ScanList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace korvane {

void Body::buildScanList()
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("ScanFrame"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);

    scanModel = new ScanListModel(dataSets, this);
    scanList = new QTableView(frame);
    scanList->setObjectName(QStringLiteral("ScanList"));
    scanList->setModel(scanModel);
    scanList->setSelectionBehavior(QAbstractItemView::SelectRows);
    scanList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    scanList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    scanList->setAlternatingRowColors(true);
    scanList->setWordWrap(false);
    scanList->verticalHeader()->hide();
    // Rows of one height are laid out without asking each of thousands.
    scanList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    scanList->verticalHeader()->setDefaultSectionSize(scanList->fontMetrics().height() + 6);
    scanList->horizontalHeader()->setStretchLastSection(true);
    scanList->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    const QFontMetrics metrics = scanList->fontMetrics();
    const int widths[] = {60, 200, 200, 190, 120, 70};
    for (int column = 0; column < int(std::size(widths)); ++column)
        scanList->setColumnWidth(
            column,
            std::max(widths[column], metrics.horizontalAdvance(
                                         scanModel->headerData(column, Qt::Horizontal).toString()) +
                                         24));

    scanPreview = new ScanPreview(frame);
    scanPreview->setObjectName(QStringLiteral("ScanPreview"));
    removeScansButton = new QPushButton(tr("Remove from List"), frame);
    removeScansButton->setObjectName(QStringLiteral("RemoveScans"));
    removeScansButton->setToolTip(tr("Takes the selected files off the list (Delete)"));

    auto *listSide = new QVBoxLayout;
    listSide->addWidget(scanList, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(removeScansButton);
    buttons->addStretch(1);
    listSide->addLayout(buttons);
    auto *layout = new QHBoxLayout(frame);
    layout->addLayout(listSide, 1);
    layout->addWidget(scanPreview);

    // The sheet below shares the height with the list; either can be made
    // taller, and the sheet scrolls.
    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("MainSplitter"));
    splitter->setChildrenCollapsible(false);
    ui.gridLayout->removeWidget(ui.CommonPropsFrame);
    splitter->addWidget(frame);
    splitter->addWidget(ui.CommonPropsFrame);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    ui.gridLayout->addWidget(splitter, 1, 0);

    connect(removeScansButton, &QPushButton::clicked, this, &Body::removeSelectedScans);
    auto *remove = new QShortcut(QKeySequence::Delete, scanList);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &Body::removeSelectedScans);
    connect(scanList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showScan(current.row()); });
    // The combo box and the list show one file: choosing it in either
    // chooses it in both.
    connect(ui.DataFiles, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int row) {
        if (row >= 0 && scanList->currentIndex().row() != row)
            scanList->setCurrentIndex(scanModel->index(row, ScanListModel::File));
    });
}

void Body::showScan(int row)
{
    const bool valid = row >= 0 && row < dataSets.size();
    scanPreview->setDataSet(valid ? dataSets.at(row) : nullptr);
    if (valid && ui.DataFiles->currentIndex() != row)
        ui.DataFiles->setCurrentIndex(row);
}

QStringList Body::removeScans(QVector<int> rows)
{
    // The pass reads the records until it ends.
    if (passRunning)
        return {};
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList names;
    // From the last, so that the rows still to go keep their numbers.
    for (auto at = rows.crbegin(); at != rows.crend(); ++at) {
        const int row = *at;
        if (row < 0 || row >= dataSets.size())
            continue;
        if (scanPreview->dataSet() == dataSets.at(row))
            scanPreview->setDataSet(nullptr);
        scanModel->beginRemove(row);
        DataSet *dataSet = dataSets.takeAt(row);
        scanModel->endRemove();
        ui.DataFiles->removeItem(row);
        names.prepend(dataSet->fileName);
        delete dataSet;
    }
    showScan(scanList->currentIndex().row());
    return names;
}

void Body::removeSelectedScans()
{
    QVector<int> rows;
    for (const QModelIndex &index : scanList->selectionModel()->selectedRows())
        rows << index.row();
    const QStringList names = removeScans(rows);
    if (!names.isEmpty())
        showOutcome({tr("Removed from the list: %1").arg(names.join(QStringLiteral(", "))), {}});
}

} // namespace korvane
