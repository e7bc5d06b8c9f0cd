#pragma once
// The folder dialog of Generate Works. Qt's own dialog takes only folders
// that exist, so the folder it offers at first ("works") could not be chosen
// before the user found the new-folder button. This one also takes a folder
// that does not exist yet but whose parent does, and makes it when chosen.

#include <QFileDialog>

class QPushButton;

namespace korvane {

// The folder to make for the dialog's choice path: path itself when nothing
// is there yet and its parent is a folder, else the empty string (the choice
// exists already, or cannot be made and is refused as Qt refuses it).
QString folderToMake(const QString &path);

class WorksDialog : public QFileDialog
{
    Q_OBJECT
public:
    using QFileDialog::QFileDialog;
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString chosenFolderToMake() const;
    void keepChooseEnabled();
    QPushButton *choose = nullptr;
};

} // namespace korvane
