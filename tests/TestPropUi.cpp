// The property row: where its fields sit, and the colour of its value field.

#include "props/PropUi.h"

#include <QGridLayout>
#include <QtTest>

namespace {

const QString white = "background-color: rgb(255, 255, 255);";
const QString pink = "background-color: rgb(255, 192, 192);";
const QString grey = "background-color: rgb(232, 232, 232);";

// One step on a row: "type:<keys>" and "bs" are the user at the keyboard,
// "set:<text>" a program setting the value, "old:<text>" a program setting
// the former value, "load:<text>" what loading a new value does, and
// "typeold:<keys>" the user typing into the read-only former value.
void runStep(PropUi &row, const QString &step)
{
    const QString arg = step.section(':', 1);
    if (step.startsWith("type:")) {
        QTest::keyClicks(row.valueEdit(), arg);
    } else if (step == "bs") {
        QTest::keyClick(row.valueEdit(), Qt::Key_Backspace);
    } else if (step.startsWith("set:")) {
        row.valueEdit()->setText(arg);
    } else if (step.startsWith("old:")) {
        row.oldValueEdit()->setText(arg);
    } else if (step.startsWith("load:")) {
        row.oldValueEdit()->setText(row.valueEdit()->text());
        row.valueEdit()->setText(arg);
    } else if (step.startsWith("typeold:")) {
        const QString before = row.oldValueEdit()->text();
        QTest::keyClicks(row.oldValueEdit(), arg);
        QTest::keyClick(row.oldValueEdit(), Qt::Key_Backspace);
        QCOMPARE(row.oldValueEdit()->text(), before);
    } else {
        QFAIL(qPrintable("unknown step " + step));
    }
}

} // namespace

class TestPropUi : public QObject
{
    Q_OBJECT
private slots:
    void cells();
    void colour_data();
    void colour();
};

void TestPropUi::cells()
{
    PropUi row("INFO_001", "a value", "the project", "..project:");
    auto *grid = qobject_cast<QGridLayout *>(row.layout());
    QVERIFY(grid);
    // The constructor's texts replace those of the form, each in its column.
    const QStringList texts{"INFO_001", "a value", "the project", "..project:", ""};
    for (int column = 0; column < texts.size(); ++column) {
        QLayoutItem *cell = grid->itemAtPosition(0, column);
        QVERIFY(cell && cell->widget());
        QCOMPARE(cell->widget()->property("text").toString(), texts[column]);
    }
    // Setting the first value is no change: the field keeps the platform colour.
    QCOMPARE(row.valueEdit()->styleSheet(), QString());
    QCOMPARE(row.oldValueEdit()->styleSheet(), grey);
}

// clang-format off
void TestPropUi::colour_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("styles"); // the value field's style after each step

    QTest::newRow("first character typed") << "" << QStringList{"type:a"} << QStringList{pink};
    QTest::newRow("emptied again") << "" << QStringList{"type:ab", "bs", "bs"} << QStringList{pink, pink, white};
    QTest::newRow("typed after a first value") << "abc" << QStringList{"type:d", "bs"} << QStringList{pink, pink};
    QTest::newRow("former value typed back after a load") << "old" << QStringList{"load:new", "bs", "bs", "bs", "type:ol", "type:d"} << QStringList{pink, pink, pink, pink, pink, white};
    QTest::newRow("load of the same value") << "same" << QStringList{"load:same"} << QStringList{""};
    QTest::newRow("same text set on a new row") << "x" << QStringList{"set:x"} << QStringList{""};
    // Were the slot run for an unchanged text, the field would turn white.
    QTest::newRow("same text set keeps pink") << "" << QStringList{"type:a", "old:a", "set:a"} << QStringList{pink, pink, pink};
    QTest::newRow("same text set keeps white") << "v" << QStringList{"load:w", "set:v", "old:x", "set:v"} << QStringList{pink, white, white, white};
    QTest::newRow("former value is read-only") << "v" << QStringList{"old:before", "typeold:xyz"} << QStringList{"", ""};
}
// clang-format on

void TestPropUi::colour()
{
    QFETCH(QString, initial);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, styles);
    QCOMPARE(steps.size(), styles.size());
    PropUi row("ID", initial, QString(), QString());
    for (int i = 0; i < steps.size(); ++i) {
        runStep(row, steps[i]);
        QCOMPARE(row.valueEdit()->styleSheet(), styles[i]);
        QCOMPARE(row.oldValueEdit()->styleSheet(), grey);
    }
}

QTEST_MAIN(TestPropUi)
#include "TestPropUi.moc"
