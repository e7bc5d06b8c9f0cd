#include "ui/DropArea.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace korvane {

DropArea::DropArea(QWidget *parent) : QLineEdit(parent)
{
    setAcceptDrops(true);
}

// Every drag may end here, whatever it carries: the line edit's own rule
// (plain text only, and never when read-only) would refuse file drops.
void DropArea::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
}

// The dropped data is never inserted: the area only names the files. The
// event stays unaccepted, as nothing was moved or copied into the widget.
void DropArea::dropEvent(QDropEvent *event)
{
    takeUrls(event->mimeData()->urls());
}

void DropArea::takeUrls(const QList<QUrl> &urls)
{
    for (const QUrl &dropUrl : urls) {
        const QString url = dropUrl.url();
        const QString scheme = dropUrl.scheme();
        const QString host = dropUrl.host(QUrl::FullyDecoded);
        QString path = dropUrl.path(QUrl::FullyDecoded);
        // A file URL of a drive-letter path reads "/X:/folder/file"; the
        // leading slash must go for the path to open.
        if (path.size() > 2 && path.at(2) == QLatin1Char(':') && path.at(0) == QLatin1Char('/'))
            path.remove(0, 1);
        emit dropped(path, url, scheme, host);
    }
}

} // namespace korvane
