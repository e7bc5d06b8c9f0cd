// The property sheets of the main window: the common-properties rows and the
// data-properties file. The file formats live in props/; this adapts them to
// the rows' widgets and the window's labels.

#include "ui/Body.h"

#include "data/DataSet.h"
#include "props/CommonProps.h"
#include "props/DataProps.h"
#include "props/PropUi.h"
#include "text/TextFile.h"
#include "text/Why.h"
#include "ui/ScanList.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QTextStream>

namespace korvane {

namespace {

bool openForReading(TextFileReader &file, const QString &fname, QString *why)
{
    QString error;
    if (file.open(fname, &error))
        return true;
    if (why)
        *why = reason("cannot read %1: %2").arg(fname, error);
    return false;
}

PropUi *rowWithId(const QVector<PropUi *> &rows, const QString &id)
{
    for (PropUi *row : rows) {
        if (row->idLabel()->text() == id)
            return row;
    }
    return nullptr;
}

} // namespace

bool Body::writeDataProps(const QString &fname, QString *why)
{
    const QString title = QCoreApplication::translate("Body", "Gen. Work/not");
    propsRows = dataSets.size();
    return savePropsFile(fname, dataPropsText(tpl, dataSets, title), why);
}

bool Body::readDataProps(const QString &fname, QString *why)
{
    TextFileReader file;
    if (!openForReading(file, fname, why))
        return false;
    // The rows after the four header lines, the last one with or without its
    // line end.
    const QByteArray &bytes = file.bytes();
    const int lines = bytes.count('\n') + (bytes.endsWith('\n') || bytes.isEmpty() ? 0 : 1);
    propsRows = qMax(0, lines - 4);
    applyDataProps(file.stream(), dataSets);
    scanModel->flagsChanged();
    return true;
}

bool Body::writeCommPropsTemplate(const QString &fname, QString *why)
{
    propsRows = commonPropsTemplateLines(tpl).size();
    return savePropsFile(fname, commonPropsTemplateText(tpl), why);
}

bool Body::readCommProps(const QString &fname, QString *why)
{
    // The labels follow every request, even one whose file cannot be read.
    ui.OldCommPropsFileName->setText(ui.NewCommPropsFileName->text());
    ui.NewCommPropsFileName->setText(fname);

    TextFileReader file;
    if (!openForReading(file, fname, why))
        return false;
    const QVector<CommonPropLine> lines = readCommonPropLines(file.stream());
    propsRows = lines.size();
    for (const CommonPropLine &line : lines) {
        if (PropUi *row = rowWithId(propRows, line.id)) {
            row->oldValueEdit()->setText(row->valueEdit()->text());
            row->valueEdit()->setText(line.value);
            // An existing row keeps its comment and key; a file that
            // disagrees is only reported.
            if (row->commentLabel()->text() != line.comment)
                qDebug() << "different comm   in updating comm prop : " << line.id;
            if (row->ymlKeyLabel()->text() != line.key)
                qDebug() << "different ymlKey in updating comm prop : " << line.id;
            continue;
        }
        // Only the row's widgets go into the sheet's grid; the frame itself
        // stays unparented and keeps the pointers to them.
        auto *row = new PropUi(line.id, line.value, line.comment, line.key);
        const int gridRow = propRows.size();
        ui.PropListLayout->addWidget(row->idLabel(), gridRow, 0);
        ui.PropListLayout->addWidget(row->valueEdit(), gridRow, 1);
        ui.PropListLayout->addWidget(row->commentLabel(), gridRow, 2);
        ui.PropListLayout->addWidget(row->ymlKeyLabel(), gridRow, 3);
        ui.PropListLayout->addWidget(row->oldValueEdit(), gridRow, 4);
        propRows.append(row);
    }
    return true;
}

bool Body::writeCommProps(const QString &fname, QString *why)
{
    QVector<CommonPropLine> lines;
    lines.reserve(propRows.size());
    for (const PropUi *row : qAsConst(propRows)) {
        lines.append({row->idLabel()->text(), row->valueEdit()->text(), row->commentLabel()->text(),
                      row->ymlKeyLabel()->text()});
    }
    propsRows = lines.size();
    return savePropsFile(fname, commonPropsText(lines), why);
}

CommonValues Body::commonValues() const
{
    CommonValues values;
    values.reserve(propRows.size());
    for (const PropUi *row : propRows)
        values.append({row->idLabel()->text(), row->valueEdit()->text()});
    return values;
}

void Body::showPropsOutcome(PropsAction action, const QString &fname,
                            bool (Body::*method)(const QString &, QString *))
{
    FileResult file{fname, false, 0, QString()};
    file.ok = (this->*method)(fname, &file.why);
    file.rows = propsRows;
    showOutcome(propsOutcome(action, file));
}

void Body::saveDataProps(const QString &fname)
{
    showPropsOutcome(PropsAction::SaveData, fname, &Body::writeDataProps);
}

void Body::loadDataProps(const QString &fname)
{
    showPropsOutcome(PropsAction::LoadData, fname, &Body::readDataProps);
}

void Body::genCommProps(const QString &fname)
{
    showPropsOutcome(PropsAction::SaveCommonTemplate, fname, &Body::writeCommPropsTemplate);
}

void Body::loadCommProps(const QString &fname)
{
    showPropsOutcome(PropsAction::LoadCommon, fname, &Body::readCommProps);
}

void Body::saveCommProps(const QString &fname)
{
    showPropsOutcome(PropsAction::SaveCommon, fname, &Body::writeCommProps);
}

} // namespace korvane
