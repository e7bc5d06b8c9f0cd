// The property row: its form, and the colour of its value field.

#include "props/PropUi.h"

#include <QGridLayout>
#include <QtTest>

namespace {

const QString white = QStringLiteral("background-color: rgb(255, 255, 255);");
const QString pink = QStringLiteral("background-color: rgb(255, 192, 192);");
const QString grey = QStringLiteral("background-color: rgb(232, 232, 232);");

// One step on a row: "type:<keys>" and "bs" are the user at the keyboard,
// "set:<text>" a program setting the value, "old:<text>" a program setting
// the former value, and "load:<text>" what loading a new value does.
void runStep(PropUi &row, const QString &step)
{
    const QString arg = step.section(QLatin1Char(':'), 1);
    if (step.startsWith(QLatin1String("type:"))) {
        QTest::keyClicks(row.valueEdit(), arg);
    } else if (step == QLatin1String("bs")) {
        QTest::keyClick(row.valueEdit(), Qt::Key_Backspace);
    } else if (step.startsWith(QLatin1String("set:"))) {
        row.valueEdit()->setText(arg);
    } else if (step.startsWith(QLatin1String("old:"))) {
        row.oldValueEdit()->setText(arg);
    } else if (step.startsWith(QLatin1String("load:"))) {
        row.oldValueEdit()->setText(row.valueEdit()->text());
        row.valueEdit()->setText(arg);
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

} // namespace

class TestPropUi : public QObject
{
    Q_OBJECT
private slots:
    void form_data();
    void form();
    void colour_data();
    void colour();
    void oldValueIsReadOnly();
};

void TestPropUi::form_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");

    QTest::newRow("id") << "Id" << 0 << "INFO_001";
    QTest::newRow("value") << "Value" << 1 << "a value";
    QTest::newRow("comment") << "Comment" << 2 << "the project";
    QTest::newRow("key") << "YmlKey" << 3 << "..project:";
    QTest::newRow("old value") << "OldValue" << 4 << "";
}

void TestPropUi::form()
{
    QFETCH(QString, name);
    QFETCH(int, column);
    QFETCH(QString, text);

    PropUi row(QStringLiteral("INFO_001"), QStringLiteral("a value"), QStringLiteral("the project"),
               QStringLiteral("..project:"));
    QCOMPARE(row.objectName(), QStringLiteral("PropUI"));
    QCOMPARE(row.size(), QSize(487, 27));
    QCOMPARE(row.sizePolicy().verticalPolicy(), QSizePolicy::Maximum);

    QWidget *widget = row.findChild<QWidget *>(name);
    QVERIFY(widget);
    auto *grid = qobject_cast<QGridLayout *>(row.layout());
    QVERIFY(grid);
    QCOMPARE(grid->contentsMargins(), QMargins());
    QLayoutItem *cell = grid->itemAtPosition(0, column);
    QVERIFY(cell);
    QCOMPARE(cell->widget(), widget);
    // The constructor's texts replace those of the form.
    QCOMPARE(widget->property("text").toString(), text);
    // Setting the first value is no change: the field keeps the platform colour.
    QCOMPARE(row.valueEdit()->styleSheet(), QString());
    QCOMPARE(row.oldValueEdit()->styleSheet(), grey);
}

void TestPropUi::colour_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("styles"); // the value field's style after each step

    QTest::newRow("first character typed") << "" << QStringList{"type:a"} << QStringList{pink};
    QTest::newRow("emptied again")
        << "" << QStringList{"type:ab", "bs", "bs"} << QStringList{pink, pink, white};
    QTest::newRow("typed after a first value")
        << "abc" << QStringList{"type:d", "bs"} << QStringList{pink, pink};
    QTest::newRow("former value typed back after a load")
        << "old" << QStringList{"load:new", "bs", "bs", "bs", "type:ol", "type:d"}
        << QStringList{pink, pink, pink, pink, pink, white};
    QTest::newRow("load of the same value")
        << "same" << QStringList{"load:same"} << QStringList{""};
    QTest::newRow("same text set on a new row") << "x" << QStringList{"set:x"} << QStringList{""};
    // Were the slot run for an unchanged text, the field would turn white.
    QTest::newRow("same text set keeps pink")
        << "" << QStringList{"type:a", "old:a", "set:a"} << QStringList{pink, pink, pink};
    QTest::newRow("same text set keeps white")
        << "v" << QStringList{"load:w", "set:v", "old:x", "set:v"}
        << QStringList{pink, white, white, white};
}

void TestPropUi::colour()
{
    QFETCH(QString, initial);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, styles);
    QCOMPARE(steps.size(), styles.size());

    PropUi row(QStringLiteral("ID"), initial, QString(), QString());
    for (int i = 0; i < steps.size(); ++i) {
        runStep(row, steps.at(i));
        QCOMPARE(row.valueEdit()->styleSheet(), styles.at(i));
        QCOMPARE(row.oldValueEdit()->styleSheet(), grey);
    }
}

void TestPropUi::oldValueIsReadOnly()
{
    PropUi row(QStringLiteral("ID"), QStringLiteral("v"), QString(), QString());
    row.oldValueEdit()->setText(QStringLiteral("before"));
    QTest::keyClicks(row.oldValueEdit(), QStringLiteral("xyz"));
    QTest::keyClick(row.oldValueEdit(), Qt::Key_Backspace);
    QCOMPARE(row.oldValueEdit()->text(), QStringLiteral("before"));
    QCOMPARE(row.valueEdit()->styleSheet(), QString());
}

QTEST_MAIN(TestPropUi)
#include "TestPropUi.moc"
