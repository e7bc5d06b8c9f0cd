#include "ui/StatusLine.h"

#include <QCoreApplication>

namespace korvane {

namespace {

// The texts belong to the window's translation context.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Body)
};

} // namespace

QString statusLine(const ActionOutcome &outcome)
{
    const QStringList &failures = outcome.failures;
    if (failures.isEmpty())
        return outcome.summary;
    if (failures.size() == 1)
        return Texts::tr("%1 — %2").arg(outcome.summary, failures.first());
    return Texts::tr("%1 — %2 problems, the first: %3")
        .arg(outcome.summary, QString::number(failures.size()), failures.first());
}

QString statusToolTip(const ActionOutcome &outcome)
{
    return outcome.failures.isEmpty() ? outcome.summary : outcome.failures.join(QLatin1Char('\n'));
}

ActionOutcome joined(const ActionOutcome &first, const ActionOutcome &second)
{
    return {Texts::tr("%1; %2").arg(first.summary, second.summary),
            first.failures + second.failures};
}

ActionOutcome openingOutcome(int opened, const QStringList &rejected)
{
    return {Texts::tr("Data files opened: %1").arg(opened), rejected};
}

ActionOutcome propsOutcome(PropsAction action, const FileResult &file)
{
    const QString rows = QString::number(file.rows);
    switch (action) {
    case PropsAction::LoadData:
        if (file.ok)
            return {Texts::tr("Data properties loaded from %1, rows: %2").arg(file.path, rows), {}};
        return {Texts::tr("Data properties not loaded"), {file.why}};
    case PropsAction::SaveData:
        if (file.ok)
            return {Texts::tr("Data properties saved to %1, rows: %2").arg(file.path, rows), {}};
        return {Texts::tr("Data properties not saved"), {file.why}};
    case PropsAction::SaveCommonTemplate:
        if (file.ok)
            return {
                Texts::tr("Common-properties template saved to %1, rows: %2").arg(file.path, rows),
                {}};
        return {Texts::tr("Common-properties template not saved"), {file.why}};
    case PropsAction::LoadCommon:
        if (file.ok)
            return {Texts::tr("Common properties loaded from %1, rows: %2").arg(file.path, rows),
                    {}};
        return {Texts::tr("Common properties not loaded"), {file.why}};
    case PropsAction::SaveCommon:
        if (file.ok)
            return {Texts::tr("Common properties saved to %1, rows: %2").arg(file.path, rows), {}};
        return {Texts::tr("Common properties not saved"), {file.why}};
    }
    return {};
}

ActionOutcome passOutcome(const QString &folder, int toDo, int made, const QStringList &failures)
{
    if (toDo == 0)
        return {Texts::tr("No opened data file is flagged for a work; none made in %1").arg(folder),
                failures};
    return {Texts::tr("Works made in %1: %2 of %3")
                .arg(folder, QString::number(made), QString::number(toDo)),
            failures};
}

ActionOutcome startOutcome(const FileResult &templateFile, const FileResult &commonProps)
{
    ActionOutcome outcome;
    // Every metadata.yml is rendered from the template: without one they are empty.
    if (templateFile.ok) {
        outcome.summary = Texts::tr("Template %1 read").arg(templateFile.path);
    } else {
        outcome.summary = Texts::tr("No template: works will have empty metadata");
        outcome.failures
            << Texts::tr("template %1 cannot be read: %2").arg(templateFile.path, templateFile.why);
    }
    if (commonProps.ok)
        outcome.summary =
            Texts::tr("%1; common properties %2, rows: %3")
                .arg(outcome.summary, commonProps.path, QString::number(commonProps.rows));
    else
        outcome.failures << commonProps.why;
    return outcome;
}

} // namespace korvane
