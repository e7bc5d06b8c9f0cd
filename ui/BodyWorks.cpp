// The generation of works, as the window starts it: the widgets are read
// into plain options and handed to the pass of works/WorkPass.

#include "data/DataSet.h"
#include "ui/Body.h"
#include "works/Thumbnail.h"
#include "works/WorkPass.h"

bool Body::lookupValue(DataSet *dataSet, const QString &id, QString &value) const
{
    return ::lookupValue(commonValues(), dataSet->meta, id, value);
}

void Body::writeMetadataYml(const QString &path, DataSet *dataSet)
{
    writeMetadataFile(path, tpl, commonValues(), dataSet->meta);
}

void Body::setWorksDirectory(const QString &path)
{
    worksDirectory = QDir(path);
    QDir().mkpath(worksDirectory.absolutePath());
}

void Body::makeThumbnail(const QString &path, DataSet *dataSet)
{
    makeThumbnailImage(path, thumbnailSize(ui.ImageSizeW->text(), ui.ImageSizeH->text()), *dataSet);
}

bool Body::runWorks(WorkPassReport *report)
{
    WorkOptions options;
    options.useWork = ui.Use01Work->isChecked();
    options.work = ui.Term01Work->text();
    options.useDate = ui.Use02Date->isChecked();
    options.date = ui.Term02Date->text();
    options.useTime = ui.Use03Time->isChecked();
    options.time = ui.Term03Time->text();
    options.useBranch = ui.Use04Branch->isChecked();
    options.branch = ui.Term04Branch->text();
    options.localId = ui.UseWorkFolderNameAsLocalId->isChecked();
    options.originalNames = ui.FNinWorkOrig->isChecked();
    options.imageSize = thumbnailSize(ui.ImageSizeW->text(), ui.ImageSizeH->text());
    return runWorkPass(worksDirectory, dataSets, options, tpl, commonValues(), report);
}

void Body::genWorks()
{
    runWorks();
}

void Body::genWorks(const QString &worksDirName)
{
    setWorksDirectory(worksDirName);
    genWorks();
}
