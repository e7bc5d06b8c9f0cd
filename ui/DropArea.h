#pragma once
// The read-only line edit onto which data files are dropped.

#include <QLineEdit>
#include <QList>
#include <QUrl>

namespace korvane {

class DropArea : public QLineEdit
{
    Q_OBJECT
public:
    explicit DropArea(QWidget *parent = nullptr);
    // Tells each of the dropped links, as a drop here does.
    void takeUrls(const QList<QUrl> &urls);

signals:
    void dropped(const QString &path, const QString &url, const QString &scheme,
                 const QString &host);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace korvane
