// The common-properties sheet of a real main window: generating, loading and
// saving the file, and what the rows show afterwards.

#include "props/PropUi.h"

#include "TestSupport.h"

#include <QGridLayout>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Each row as "id|value|comment|key|old value|colour"; a row whose widgets
// are not in their cells of the window's grid shows as "misplaced".
QStringList rowTexts(const Body &body)
{
    const QMap<QString, QString> colours{{"", "-"},
                                         {"background-color: rgb(255, 192, 192);", "pink"},
                                         {"background-color: rgb(255, 255, 255);", "white"}};
    QStringList texts;
    for (int r = 0; r < body.propRows.size(); ++r) {
        const PropUi *row = body.propRows[r];
        const QWidget *cells[] = {row->idLabel(), row->valueEdit(), row->commentLabel(),
                                  row->ymlKeyLabel(), row->oldValueEdit()};
        bool placed = true;
        for (int c = 0; c < 5; ++c) {
            QLayoutItem *item = body.ui.PropListLayout->itemAtPosition(r, c);
            placed = placed && item && item->widget() == cells[c];
        }
        const QString style = row->valueEdit()->styleSheet();
        texts << (placed ? QStringList{row->idLabel()->text(), row->valueEdit()->text(),
                                       row->commentLabel()->text(), row->ymlKeyLabel()->text(),
                                       row->oldValueEdit()->text(), colours.value(style, style)}
                               .join('|')
                         : "misplaced");
    }
    return texts;
}

const QString sheetAB = "\"A\",\"1\",\"ca\",\"ka\"\n\"B\",\"2\",\"cb\",\"kb\"\n";

} // namespace

class TestCommonProps : public QObject
{
    Q_OBJECT
private slots:
    void generate_data();
    void generate();
    void load_data();
    void load();
    void saveFailure_data();
    void saveFailure();
};

// clang-format off
void TestCommonProps::generate_data()
{
    QTest::addColumn<QString>("templateText"); // null: no template file at all
    QTest::addColumn<QString>("expected");

    QTest::newRow("no template") << QString() << "";
    QTest::newRow("no semi_fix lines") << "sample:\n  name: SMPL_001 input \"\" \"\" \"name\"\n"
                                          "  beam: FACI_002 from_data \"\" \"\" \"beam\"\n" << "";
    QTest::newRow("indented key") << "  key: ID1 semi_fix dflt \"\" \"a comment\"\n" << "\"ID1\",\"dflt\",\"a comment\",\"..key:\"\n";
    QTest::newRow("only semi_fix lines, in order") << "people:\n"
           "  - name: PERS_001 semi_fix \"A. Person\" \"\" \"who measured\"\n"
           "  mail: PERS_002 input/semi_fix \"\" \"\" \"mail\"\n"
           "project: INFO_001 semi_fix \"--\" \"\" \"project name\"\n"
           "  role: PERS_003 semi_fix/input \"\" \"\" \"role\"\n"
           "::block_start blk BLK_001 semi_fix 1 \"\" \"switch\"\n" << "\"PERS_001\",\"A. Person\",\"who measured\",\"..-.name:\"\n"
           "\"INFO_001\",\"--\",\"project name\",\"project:\"\n"
           "\"BLK_001\",\"1\",\"switch\",\"block_start\"\n";
}
// clang-format on

void TestCommonProps::generate()
{
    QFETCH(QString, templateText);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tplPath = dir.filePath("template.yml");
    if (!templateText.isNull())
        QVERIFY(writeTextFile(tplPath, templateText));
    auto body = makeBody({"-t", tplPath, "-p", dir.filePath("none.csv")});

    const QString out = dir.filePath("commProps00.csv");
    QString why;
    QVERIFY2(body->writeCommPropsTemplate(out, &why), qPrintable(why));
    QVERIFY(QFileInfo::exists(out));
    QCOMPARE(readTextFile(out), expected);
    // A generated file loads into one row per line, with the dotted keys.
    QVERIFY(body->readCommProps(out));
    QCOMPARE(body->propRows.size(), expected.count(QChar('\n')));
}

// clang-format off
void TestCommonProps::load_data()
{
    // The first file is the one the window loads when it is built, the others
    // are loaded in turn; a null entry names a file that does not exist.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("edits"); // "<row>:<new value>" typed before saving
    QTest::addColumn<QString>("saved");     // null: not saved

    QTest::newRow("one file") << QStringList{sheetAB} << QStringList{"A|1|ca|ka||-", "B|2|cb|kb||-"} << QStringList() << QStringList() << QString();
    QTest::newRow("same file twice") << QStringList{sheetAB, sheetAB} << QStringList{"A|1|ca|ka|1|-", "B|2|cb|kb|2|-"} << QStringList() << QStringList() << QString();
    QTest::newRow("one value changed") << QStringList{sheetAB, "\"A\",\"1\",\"ca\",\"ka\"\n\"B\",\"3\",\"cb\",\"kb\"\n"} << QStringList{"A|1|ca|ka|1|-", "B|3|cb|kb|2|pink"} << QStringList() << QStringList() << QString();
    QTest::newRow("new id appended") << QStringList{sheetAB, "\"C\",\"3\",\"cc\",\"kc\"\n\"A\",\"1\",\"ca\",\"ka\"\n"} << QStringList{"A|1|ca|ka|1|-", "B|2|cb|kb||-", "C|3|cc|kc||-"} << QStringList() << QStringList() << QString();
    QTest::newRow("two lines for one id") << QStringList{"\"A\",\"1\",\"c\",\"k\"\n\"A\",\"2\",\"c\",\"k\"\n"} << QStringList{"A|2|c|k|1|pink"} << QStringList() << QStringList() << QString();
    QTest::newRow("empty line") << QStringList{"\"A\",\"1\",\"c\",\"k\"\n\n\"B\",\"2\",\"c\",\"k\"\n"} << QStringList{"A|1|c|k||-", "|||||-", "B|2|c|k||-"} << QStringList() << QStringList() << QString();
    QTest::newRow("empty line finds the empty row") << QStringList{"\n\"A\",\"1\",\"c\",\"k\"\n", "\n"} << QStringList{"|||||-", "A|1|c|k||-"} << QStringList() << QStringList() << QString();
    QTest::newRow("missing and surplus fields") << QStringList{"\"A\",\"1\"\n\"B\"\n\"C\",\"3\",\"c\",\"k\",\"extra\"\n"} << QStringList{"A|1||||-", "B|||||-", "C|3|c|k||-"} << QStringList() << QStringList() << QString();
    QTest::newRow("comment and key differ") << QStringList{sheetAB, "\"A\",\"1\",\"other\",\"ka\"\n\"B\",\"2\",\"cb\",\"other\"\n"} << QStringList{"A|1|ca|ka|1|-", "B|2|cb|kb|2|-"} << QStringList{"different comm   in updating comm prop :  \"A\"", "different ymlKey in updating comm prop :  \"B\""} << QStringList() << QString();
    QTest::newRow("missing file in between") << QStringList{sheetAB, QString(), "\"B\",\"5\",\"cb\",\"kb\"\n"} << QStringList{"A|1|ca|ka||-", "B|5|cb|kb|2|pink"} << QStringList() << QStringList() << QString();
    QTest::newRow("saved: empty sheet") << QStringList{QString()} << QStringList() << QStringList() << QStringList() << "";
    QTest::newRow("saved: loaded twice and edited") << QStringList{sheetAB, sheetAB} << QStringList{"A|1|ca|ka|1|-", "B|2|cb|kb|2|-"} << QStringList() << QStringList{"1:changed"} << "\"A\",\"1\",\"ca\",\"ka\"\n\"B\",\"changed\",\"cb\",\"kb\"\n";
    QTest::newRow("saved: quotes, commas, backslashes, blanks") << QStringList{"\"A\",\"x,\"\"y\"\"\\z\",\"a, b\",\"..k:\"\n"} << QStringList{"A|x,\"y\"\\z|a, b|..k:||-"} << QStringList() << QStringList{"0: \"q\" , "} << "\"A\",\" \"\"q\"\" , \",\"a, b\",\"..k:\"\n";
    QTest::newRow("saved: empty row and no-value marker") << QStringList{"\n\"A\",\"--\",\"c\",\"k\"\n"} << QStringList{"|||||-", "A|--|c|k||-"} << QStringList() << QStringList() << "\"\",\"\",\"\",\"\"\n\"A\",\"--\",\"c\",\"k\"\n";
}
// clang-format on

void TestCommonProps::load()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, messages);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList paths;
    for (int i = 0; i < files.size(); ++i) {
        paths << dir.filePath(QString("c%1.csv").arg(i));
        if (!files.at(i).isNull())
            QVERIFY(writeTextFile(paths.last(), files.at(i)));
    }
    for (const QString &message : messages)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(message));

    auto body = makeBody({"-t", dir.filePath("no-template.yml"), "-p", paths.first()});
    QCOMPARE(body->ui.NewCommPropsFileName->text(), paths.first());
    body->show();
    for (int i = 1; i < paths.size(); ++i) {
        QString why;
        QCOMPARE(body->readCommProps(paths.at(i), &why), !files.at(i).isNull());
        QCOMPARE(why.isEmpty(), !files.at(i).isNull());
        // The labels follow every load, also one that reads nothing.
        QCOMPARE(body->ui.NewCommPropsFileName->text(), paths.at(i));
        QCOMPARE(body->ui.OldCommPropsFileName->text(), paths.at(i - 1));
    }
    QCOMPARE(rowTexts(*body), rows);
    // Rows added to the shown window appear in it; their frames never do.
    QCoreApplication::processEvents();
    for (const PropUi *row : qAsConst(body->propRows)) {
        QVERIFY(row->idLabel()->isVisible() && row->valueEdit()->isVisible());
        QVERIFY(row->commentLabel()->isVisible() && row->ymlKeyLabel()->isVisible());
        QVERIFY(row->oldValueEdit()->isVisible() && !row->isVisible());
    }

    const CommonValues values = body->commonValues();
    QCOMPARE(values.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(values.at(i).id, rows.at(i).section(QChar('|'), 0, 0));
        QCOMPARE(values.at(i).value, rows.at(i).section(QChar('|'), 1, 1));
    }

    QFETCH(QStringList, edits);
    QFETCH(QString, saved);
    if (saved.isNull())
        return;
    for (const QString &edit : edits)
        body->propRows.at(edit.section(':', 0, 0).toInt())
            ->valueEdit()
            ->setText(edit.section(':', 1));
    const QString out = dir.filePath("commProps.csv");
    QString why;
    QVERIFY2(body->writeCommProps(out, &why), qPrintable(why));
    QCOMPARE(readTextFile(out), saved);
    // A fresh window shows the same rows, with nothing before them.
    QStringList expected;
    for (const QString &row : rowTexts(*body))
        expected << row.section('|', 0, 3) + "||-";
    body.reset();
    QCOMPARE(rowTexts(*makeBody({"-t", dir.filePath("no-template.yml"), "-p", out})), expected);
}

// clang-format off
void TestCommonProps::saveFailure_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("target");

    // The longest name a folder holds leaves no room for a temporary file
    // beside it, so the write fails while the earlier file stands.
    const QString longName = QString(255 - 4, 'n') + ".csv";
    for (const char *what : {"common", "template", "data"}) {
        QTest::addRow("%s, missing folder", what) << what << "missing/props.csv";
        QTest::addRow("%s, a folder", what) << what << "folder";
        QTest::addRow("%s, earlier file kept", what) << what << longName;
    }
}
// clang-format on

void TestCommonProps::saveFailure()
{
    QFETCH(QString, what);
    QFETCH(QString, target);

    QTemporaryDir dir;
    QVERIFY(
        writeTextFile(dir.filePath("template.yml"), "project: INFO_001 semi_fix p \"\" \"c\"\n"));
    QVERIFY(writeTextFile(dir.filePath("sheet.csv"), sheetAB));
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString path = dir.filePath(target);
    if (target.endsWith(".csv") && !target.contains('/') && !writeTextFile(path, "earlier\n"))
        QSKIP("this file system does not take names of 255 characters");

    auto body = makeBody({"-t", dir.filePath("template.yml"), "-p", dir.filePath("sheet.csv")});
    QString why;
    const bool ok = what == "common"     ? body->writeCommProps(path, &why)
                    : what == "template" ? body->writeCommPropsTemplate(path, &why)
                                         : body->writeDataProps(path, &why);
    QVERIFY(!ok && !why.isEmpty());
    if (QFileInfo(path).isFile())
        QCOMPARE(readTextFile(path), QString("earlier\n"));
    else
        QCOMPARE(QFileInfo(path).isDir(), target == "folder");
}

QTEST_MAIN(TestCommonProps)
#include "TestCommonProps.moc"
