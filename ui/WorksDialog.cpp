#include "ui/WorksDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPushButton>

namespace korvane {

QString folderToMake(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    // exists() follows links: a dangling link is no place for a folder.
    if (info.exists() || info.isSymLink() || !QFileInfo(info.absolutePath()).isDir())
        return QString();
    return info.absoluteFilePath();
}

QString WorksDialog::chosenFolderToMake() const
{
    const QStringList chosen = selectedFiles();
    return fileMode() == Directory && chosen.size() == 1 ? folderToMake(chosen.first()) : QString();
}

void WorksDialog::accept()
{
    // Qt's dialog would answer "Directory not found" for a folder korvane is
    // about to make anyway; one that cannot be made still gets that answer.
    const QString folder = chosenFolderToMake();
    if (!folder.isEmpty())
        QDir().mkdir(folder);
    QFileDialog::accept();
}

// Qt's dialog disables its Choose button for a folder that does not exist,
// whenever it looks at the name again; this looks after it each time.
void WorksDialog::keepChooseEnabled()
{
    if (choose && !choose->isEnabled() && !chosenFolderToMake().isEmpty())
        choose->setEnabled(true);
}

void WorksDialog::showEvent(QShowEvent *event)
{
    QFileDialog::showEvent(event);
    // The dialog's widgets exist once it is shown (none for a native dialog).
    if (!choose) {
        auto *buttons = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        choose = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
        if (choose)
            choose->installEventFilter(this);
        connect(this, &QFileDialog::directoryEntered, this, &WorksDialog::keepChooseEnabled);
        connect(this, &QFileDialog::currentChanged, this, &WorksDialog::keepChooseEnabled);
    }
    keepChooseEnabled();
}

bool WorksDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == choose && event->type() == QEvent::EnabledChange)
        keepChooseEnabled();
    return QFileDialog::eventFilter(watched, event);
}

} // namespace korvane
