#pragma once
// The opened files as a list: per file its flag, sample, start, kind of scan,
// points and energy range, and a preview of the selected file's spectrum.
// Rows are made when the view asks for them, so thousands of files stay
// quick to scroll.

#include <QAbstractTableModel>
#include <QImage>
#include <QList>
#include <QWidget>

namespace korvane {

class DataSet;

class ScanListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        Flag,
        File,
        Sample,
        Start,
        Kind,
        Points,
        Energy,
        ColumnCount
    };
    // The list shows scans as they are; the model is told of every change.
    explicit ScanListModel(const QList<DataSet *> &scans, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The flag's check box sets the record's SYS_001, as the data-properties
    // sheet does.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Around a change of the list of scans, or of their flags.
    void beginAppend();
    void endAppend();
    void beginRemove(int row);
    void endRemove();
    void flagsChanged();

private:
    const QList<DataSet *> &m_scans;
};

// "8979.3 - 9979.1 eV", or "" for a scan without a drawable point.
QString energyRangeText(const DataSet &dataSet);

// The spectrum of one record drawn as its thumbnail is, at the largest
// square that fits the widget, and drawn again only when size or record
// change.
class ScanPreview : public QWidget
{
public:
    explicit ScanPreview(QWidget *parent = nullptr);
    // Null shows nothing; the record must outlive its preview or be replaced.
    void setDataSet(const DataSet *dataSet);
    const DataSet *dataSet() const { return m_dataSet; }
    // Where the picture is drawn; empty when there is none.
    QRect pictureRect() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    const DataSet *m_dataSet = nullptr;
    QImage m_picture;
};

} // namespace korvane
