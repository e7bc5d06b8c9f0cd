#include "ui/ScanList.h"

#include "data/DataSet.h"
#include "works/Thumbnail.h"

#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace korvane {

QString energyRangeText(const DataSet &dataSet)
{
    if (!(std::isfinite(dataSet.xMin) && std::isfinite(dataSet.xMax) &&
          dataSet.xMin <= dataSet.xMax && !dataSet.points.isEmpty()))
        return QString();
    return QStringLiteral("%1 - %2 eV").arg(dataSet.xMin, 0, 'f', 1).arg(dataSet.xMax, 0, 'f', 1);
}

ScanListModel::ScanListModel(const QList<DataSet *> &scans, QObject *parent)
    : QAbstractTableModel(parent), m_scans(scans)
{
}

int ScanListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_scans.size();
}

int ScanListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ScanListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_scans.size())
        return QVariant();
    const DataSet &scan = *m_scans.at(index.row());
    if (role == Qt::CheckStateRole && index.column() == Flag)
        return scan.flaggedForWork() ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole && index.column() == File)
        return scan.path;
    if (role == Qt::TextAlignmentRole && index.column() == Points)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case File:
        return scan.fileName;
    case Sample:
        return scan.header.sampleName;
    case Start:
        // To the second: the milliseconds of a line 2 are always 000.
        return startDateTime(scan).left(19);
    case Kind:
        return absorbanceChannels(scan.header).fluorescence ? tr("fluorescence")
                                                            : tr("transmission");
    case Points:
        return scan.points.size();
    case Energy:
        return energyRangeText(scan);
    default:
        return QVariant();
    }
}

bool ScanListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != Flag || role != Qt::CheckStateRole ||
        index.row() >= m_scans.size())
        return false;
    m_scans.at(index.row())->setFlaggedForWork(value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ScanListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Flag)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ScanListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Flag:
        return tr("Work");
    case File:
        return tr("File");
    case Sample:
        return tr("Sample");
    case Start:
        return tr("Start");
    case Kind:
        return tr("Kind");
    case Points:
        return tr("Points");
    case Energy:
        return tr("Energy range");
    default:
        return QVariant();
    }
}

void ScanListModel::beginAppend()
{
    beginInsertRows(QModelIndex(), m_scans.size(), m_scans.size());
}

void ScanListModel::endAppend()
{
    endInsertRows();
}

void ScanListModel::beginRemove(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
}

void ScanListModel::endRemove()
{
    endRemoveRows();
}

void ScanListModel::flagsChanged()
{
    if (!m_scans.isEmpty())
        emit dataChanged(index(0, Flag), index(m_scans.size() - 1, Flag), {Qt::CheckStateRole});
}

ScanPreview::ScanPreview(QWidget *parent) : QWidget(parent)
{
    // As wide as it is high: the picture is square.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void ScanPreview::setDataSet(const DataSet *dataSet)
{
    m_dataSet = dataSet;
    m_picture = QImage();
    update();
}

QRect ScanPreview::pictureRect() const
{
    if (!m_dataSet)
        return QRect();
    const int side = std::min(width(), height());
    QRect square(0, 0, side, side);
    square.moveCenter(rect().center());
    return square;
}

QSize ScanPreview::sizeHint() const
{
    return QSize(std::max(120, height()), 200);
}

void ScanPreview::resizeEvent(QResizeEvent *event)
{
    if (event->size().height() != event->oldSize().height())
        updateGeometry();
}

void ScanPreview::paintEvent(QPaintEvent *)
{
    const QRect square = pictureRect();
    if (square.isEmpty())
        return;
    if (m_picture.size() != square.size())
        m_picture = drawThumbnail(square.size(), *m_dataSet);
    QPainter painter(this);
    painter.drawImage(square.topLeft(), m_picture);
}

} // namespace korvane
