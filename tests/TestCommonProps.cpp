// The common-properties sheet of a real main window: generating, loading and
// saving the file, and what the rows show afterwards: a value field turns
// pink when it differs from the value before the last load, white when it
// shows that value again.

#include "props/PropUi.h"

#include "TestSupport.h"

#include <QGridLayout>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString colour(const QWidget *field)
{
    const QString style = field->styleSheet();
    return style.isEmpty()                                    ? "-"
           : style == "background-color: rgb(255, 192, 192);" ? "pink"
           : style == "background-color: rgb(255, 255, 255);" ? "white"
                                                              : style;
}

// Each row as the texts of its five cells in the window's grid, then the
// colour of its value field.
QStringList rowTexts(const Body &body)
{
    QStringList texts;
    for (int r = 0; r < body.propRows.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c) {
            QLayoutItem *item = body.ui.PropListLayout->itemAtPosition(r, c);
            cells << (item && item->widget() ? item->widget()->property("text").toString() : "?");
        }
        texts << cells.join('|') + '|' + colour(body.propRows[r]->valueEdit());
    }
    return texts;
}

const QString sheetAB = "\"A\",\"1\",\"ca\",\"ka\"\n\"B\",\"2\",\"cb\",\"kb\"\n";

} // namespace

class TestCommonProps : public QObject
{
    Q_OBJECT
private slots:
    void generate();
    void load_data();
    void load();
    void saveFailure_data();
    void saveFailure();
};

// Only semi_fix lines, in their order, with the key's blanks made dots.
void TestCommonProps::generate()
{
    QTemporaryDir dir;
    QVERIFY(writeTextFile(dir.filePath("template.yml"),
                          "people:\n"
                          "  - name: PERS_001 semi_fix \"A. Person\" \"\" \"who measured\"\n"
                          "  mail: PERS_002 input/semi_fix \"\" \"\" \"mail\"\n"
                          "project: INFO_001 semi_fix \"--\" \"\" \"project name\"\n"
                          "  role: PERS_003 semi_fix/input \"\" \"\" \"role\"\n"
                          "  beam: FACI_002 from_data \"\" \"\" \"beam\"\n"
                          "::block_start blk BLK_001 semi_fix 1 \"\" \"switch\"\n"));
    auto body = makeBody({"-t", dir.filePath("template.yml"), "-p", dir.filePath("none.csv")});
    const QString out = dir.filePath("commProps00.csv");
    QString why;
    QVERIFY2(body->writeCommPropsTemplate(out, &why), qPrintable(why));
    QCOMPARE(readTextFile(out), "\"PERS_001\",\"A. Person\",\"who measured\",\"..-.name:\"\n"
                                "\"INFO_001\",\"--\",\"project name\",\"project:\"\n"
                                "\"BLK_001\",\"1\",\"switch\",\"block_start\"\n");
    QVERIFY(body->readCommProps(out));
    QCOMPARE(rowTexts(*body).value(0), "PERS_001|A. Person|who measured|..-.name:||-");
}

// clang-format off
void TestCommonProps::load_data()
{
    // The first file is the one the window loads when it is built, the others
    // are loaded in turn; a null entry names a file that does not exist.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("edit"); // "<row>:<keys>" typed at the end of a value
    QTest::addColumn<QString>("saved"); // the sheet saved afterwards; none: not saved

    const QStringList none;
    QTest::newRow("new id appended") << QStringList{sheetAB, "\"C\",\"3\",\"cc\",\"kc\"\n\"A\",\"1\",\"ca\",\"ka\"\n"} << QStringList{"A|1|ca|ka|1|-", "B|2|cb|kb||-", "C|3|cc|kc||-"} << none << "" << "";
    QTest::newRow("empty line finds the empty row") << QStringList{"\n\"A\",\"1\",\"c\",\"k\"\n", "\n"} << QStringList{"|||||-", "A|1|c|k||-"} << none << "" << "";
    QTest::newRow("missing and surplus fields") << QStringList{"\"A\",\"1\"\n\"B\"\n\"C\",\"3\",\"c\",\"k\",\"extra\"\n"} << QStringList{"A|1||||-", "B|||||-", "C|3|c|k||-"} << none << "" << "";
    QTest::newRow("same values, comment and key differ") << QStringList{sheetAB, "\"A\",\"1\",\"other\",\"ka\"\n\"B\",\"2\",\"cb\",\"other\"\n"} << QStringList{"A|1|ca|ka|1|-", "B|2|cb|kb|2|-"} << QStringList{"different comm   in updating comm prop :  \"A\"", "different ymlKey in updating comm prop :  \"B\""} << "" << "";
    QTest::newRow("missing file in between") << QStringList{sheetAB, QString(), "\"B\",\"5\",\"cb\",\"kb\"\n"} << QStringList{"A|1|ca|ka||-", "B|5|cb|kb|2|pink"} << none << "" << "";
    QTest::newRow("former value typed back") << QStringList{sheetAB, "\"B\",\"5\",\"cb\",\"kb\"\n"} << QStringList{"A|1|ca|ka||-", "B|2|cb|kb|2|white"} << none << "1:\b2" << "";
    QTest::newRow("saved: empty row, quotes, commas, backslashes, blanks") << QStringList{"\n\"A\",\"x,\"\"y\"\"\\z\",\"a, b\",\"..k:\"\n"} << QStringList{"|||||-", "A|x,\"y\"\\z \"q\"|a, b|..k:||pink"} << none << "1: \"q\"" << "\"\",\"\",\"\",\"\"\n\"A\",\"x,\"\"y\"\"\\z \"\"q\"\"\",\"a, b\",\"..k:\"\n";
}
// clang-format on

void TestCommonProps::load()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, messages);
    QFETCH(QString, edit);
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < files.size(); ++i) {
        paths << dir.filePath(QString("c%1.csv").arg(i));
        QVERIFY(files.at(i).isNull() || writeTextFile(paths.last(), files.at(i)));
    }
    for (const QString &message : messages)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(message));
    const QStringList words{"-t", dir.filePath("no-template.yml"), "-p"};
    auto body = makeBody(words + paths.mid(0, 1));
    body->show();
    for (int i = 1; i < paths.size(); ++i) {
        QString why;
        QCOMPARE(body->readCommProps(paths.at(i), &why), !files.at(i).isNull());
        QCOMPARE(why.isEmpty(), !files.at(i).isNull());
        // The labels follow every load, also one that reads nothing.
        QCOMPARE(body->ui.NewCommPropsFileName->text(), paths.at(i));
        QCOMPARE(body->ui.OldCommPropsFileName->text(), paths.at(i - 1));
    }
    if (!edit.isEmpty())
        QTest::keyClicks(body->propRows.at(edit.section(':', 0, 0).toInt())->valueEdit(),
                         edit.section(':', 1));
    QTEST(rowTexts(*body), "rows");
    // Rows added to the shown window appear in it; their frames never do.
    QCoreApplication::processEvents();
    for (const PropUi *row : qAsConst(body->propRows))
        QVERIFY(row->idLabel()->isVisible() && row->oldValueEdit()->isVisible() &&
                !row->isVisible());
    QFETCH(QString, saved);
    if (saved.isEmpty())
        return;
    const QString out = dir.filePath("commProps.csv");
    QString why;
    QVERIFY2(body->writeCommProps(out, &why), qPrintable(why));
    QCOMPARE(readTextFile(out), saved);
}

void TestCommonProps::saveFailure_data()
{
    QTest::addColumn<QString>("what");
    for (const char *what : {"common", "template", "data"})
        QTest::newRow(what) << QString(what);
}

// The longest name a folder holds leaves no room for a temporary file beside
// it, so the write fails while the earlier file stands.
void TestCommonProps::saveFailure()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    QVERIFY(writeTextFile(dir.filePath("sheet.csv"), sheetAB));
    const QString path = dir.filePath(QString(255 - 4, 'n') + ".csv");
    if (!writeTextFile(path, "earlier\n"))
        QSKIP("this file system does not take names of 255 characters");
    auto body = makeBody({"-t", dir.filePath("none.yml"), "-p", dir.filePath("sheet.csv")});
    QString why;
    const bool ok = what == "common"     ? body->writeCommProps(path, &why)
                    : what == "template" ? body->writeCommPropsTemplate(path, &why)
                                         : body->writeDataProps(path, &why);
    QVERIFY(!ok && why.startsWith("cannot write"));
    QCOMPARE(readTextFile(path), QString("earlier\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

QTEST_MAIN(TestCommonProps)
#include "TestCommonProps.moc"
