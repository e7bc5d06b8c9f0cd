#pragma once
// The read-only line edit onto which data files are dropped.

#include <QLineEdit>

namespace korvane {

class DropArea : public QLineEdit
{
    Q_OBJECT
public:
    explicit DropArea(QWidget *parent = nullptr);

signals:
    void dropped(const QString &path, const QString &url, const QString &scheme,
                 const QString &host);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace korvane
